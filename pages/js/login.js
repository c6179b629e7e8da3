// The login page: says why the last attempt failed and puts the cursor where it is needed.
const failed = new URLSearchParams(window.location.search).has('failed');
document.getElementById('login-failed').hidden = !failed;
document.getElementById(failed ? 'password' : 'user').focus();
