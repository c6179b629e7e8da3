// The login page: logs in without leaving the page, so that a refusal keeps the user name and
// asks for the password again; the screen then takes the login page's place in the history,
// so that the back button does not lead to the form again.
const form = document.querySelector('form');
const failed = document.getElementById('login-failed');
const user = document.getElementById('user');
const password = document.getElementById('password');

function refused(message) {
  failed.textContent = message;
  failed.hidden = false;
  password.value = '';
  password.focus();
}

form.addEventListener('submit', async (event) => {
  event.preventDefault();
  const button = form.querySelector('button[type=submit]');
  button.disabled = true;
  try {
    const response = await fetch(form.action, {
      method: 'POST',
      headers: { Accept: 'application/json' },
      body: new URLSearchParams(new FormData(form)),
      credentials: 'same-origin',
      cache: 'no-store',
    });
    const answer = await response.json().catch(() => ({}));
    if (response.ok && answer.location) {
      window.location.replace(answer.location);
      return;
    }
    refused(answer.message || 'The server cannot log you in now. Try again in a moment.');
  } catch {
    refused('The server cannot be reached. Try again in a moment.');
  } finally {
    button.disabled = false;
  }
});

// A form sent without this script comes back with ?failed=1.
const failedBefore = new URLSearchParams(window.location.search).has('failed');
failed.hidden = !failedBefore;
(failedBefore ? password : user).focus();
