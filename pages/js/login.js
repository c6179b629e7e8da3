// The login page: logs in without leaving the page, so that a refusal keeps the user name and
// asks for the password again; then takes the steps the server asks for (a code of the second
// factor, a password of the user's own, setting up a second factor, with its recovery codes
// shown once). The screen then takes the login page's place in the history, so that the back
// button does not lead to the form again.
import { listRecoveryCodes, postForm, showPasswordProblem } from './account_forms.js';

const loginForm = document.getElementById('login-form');
const failed = document.getElementById('login-failed');
const user = document.getElementById('user');
const password = document.getElementById('password');
const steps = {
  code: document.getElementById('code-form'),
  password: document.getElementById('password-form'),
  enrol: document.getElementById('enrol-form'),
};
const recovery = document.getElementById('recovery');
let nextLocation = '/app.html';

function refused(message) {
  failed.textContent = message;
  failed.hidden = false;
  password.value = '';
  password.focus();
}

function showOnly(shown) {
  for (const part of [loginForm, ...Object.values(steps), recovery]) part.hidden = part !== shown;
}

// The step the server asks for next, or the screen.
function follow(answer) {
  if (answer.recovery_codes) {
    nextLocation = answer.location || nextLocation;
    listRecoveryCodes(document.getElementById('recovery-codes'), answer.recovery_codes);
    showOnly(recovery);
    document.getElementById('recovery-title').focus();
    return;
  }
  if (answer.location) {
    window.location.replace(answer.location);
    return;
  }
  const form = steps[answer.step];
  if (!form) {
    refused('The server cannot log you in now. Try again in a moment.');
    return;
  }
  for (const name of document.querySelectorAll('.step-user')) name.textContent = answer.user || '';
  if (answer.step === 'enrol') {
    document.getElementById('enrol-secret').textContent = answer.secret;
    document.getElementById('enrol-qr').src = `${answer.qr}?${Date.now()}`;
  }
  form.reset();
  for (const alert of form.querySelectorAll('[role=alert]')) alert.hidden = true;
  showOnly(form);
  form.querySelector('input').focus();
}

// A refusal of a step: said in the step's own box; a login that has ended starts again.
function stepRefused(form, answer) {
  if (answer.error === 'no-login') {
    showOnly(loginForm);
    refused(answer.message || 'The login has ended; log in again.');
    return;
  }
  if (form === steps.password) {
    showPasswordProblem(document.getElementById('choose-failed'), answer.message || 'That password cannot be used.',
      answer.hints || []);
    form.querySelector('#new-password').focus();
    return;
  }
  const box = form.querySelector('[role=alert]');
  box.textContent = answer.message || 'The server cannot check the code now. Try again in a moment.';
  box.hidden = false;
  const input = form.querySelector('input');
  input.value = '';
  input.focus();
}

async function submitting(form, work) {
  const button = form.querySelector('button[type=submit]');
  button.disabled = true;
  try {
    await work();
  } catch {
    stepRefused(form, { message: 'The server cannot be reached. Try again in a moment.' });
  } finally {
    button.disabled = false;
  }
}

loginForm.addEventListener('submit', async (event) => {
  event.preventDefault();
  const button = loginForm.querySelector('button[type=submit]');
  button.disabled = true;
  try {
    const { ok, answer } = await postForm(loginForm.action, new FormData(loginForm));
    if (ok) follow(answer);
    else refused(answer.message || 'The server cannot log you in now. Try again in a moment.');
  } catch {
    refused('The server cannot be reached. Try again in a moment.');
  } finally {
    button.disabled = false;
  }
});

for (const form of Object.values(steps)) {
  form.addEventListener('submit', (event) => {
    event.preventDefault();
    submitting(form, async () => {
      if (form === steps.password &&
          document.getElementById('new-password').value !== document.getElementById('new-password-again').value) {
        stepRefused(form, { message: 'The two passwords differ: type the same one twice.' });
        return;
      }
      const { ok, answer } = await postForm(form.getAttribute('action'), new FormData(form));
      if (ok) follow(answer);
      else stepRefused(form, answer);
    });
  });
}

document.getElementById('recovery-done').addEventListener('click', () => window.location.replace(nextLocation));

// A form sent without this script comes back with ?failed=1, or ?step=1 with a step to take.
const query = new URLSearchParams(window.location.search);
// A tab whose session ended says how ("You have logged out in another window.").
const ended = sessionStorage.getItem('cn-ended');
sessionStorage.removeItem('cn-ended');
if (ended) {
  document.getElementById('login-ended').textContent = ended;
  document.getElementById('login-ended').hidden = false;
}
failed.hidden = !query.has('failed');
(query.has('failed') ? password : user).focus();
if (query.has('step')) {
  fetch('/login/step', { headers: { Accept: 'application/json' }, credentials: 'same-origin', cache: 'no-store' })
    .then(async (response) => (response.ok ? follow(await response.json()) : null))
    .catch(() => {});
}
