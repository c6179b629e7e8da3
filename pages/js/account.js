// The administrator's own account from the screen: a new password (the current one asked
// again; his other sessions end) and a second factor set up with an authenticator app, its
// recovery codes shown once.
import { enqueue } from './api.js';
import { listRecoveryCodes, showPasswordProblem } from './account_forms.js';

const passwordDialog = document.getElementById('password-dialog');
const passwordForm = document.getElementById('password-change');
const passwordProblem = document.getElementById('password-problem');
const passwordDone = document.getElementById('password-done');

document.getElementById('shell-password').addEventListener('click', () => {
  passwordForm.reset();
  passwordProblem.hidden = true;
  passwordDone.hidden = true;
  passwordDialog.showModal();
  document.getElementById('password-current').focus();
});
document.getElementById('password-close').addEventListener('click', () => passwordDialog.close());

passwordForm.addEventListener('submit', async (event) => {
  event.preventDefault();
  passwordProblem.hidden = true;
  passwordDone.hidden = true;
  const current = document.getElementById('password-current');
  const chosen = document.getElementById('password-new');
  if (chosen.value !== document.getElementById('password-again').value) {
    showPasswordProblem(passwordProblem, 'The two new passwords differ: type the same one twice.');
    chosen.focus();
    return;
  }
  const button = document.getElementById('password-submit');
  button.disabled = true;
  try {
    const answer = await enqueue('POST', '/api/password', () => ({ current: current.value, password: chosen.value }));
    passwordForm.reset();
    const others = answer.ended === 1 ? '1 other session was' : `${answer.ended} other sessions were`;
    passwordDone.textContent = `Your password is changed. ${others} logged out.`;
    passwordDone.hidden = false;
    document.getElementById('password-close').focus();
  } catch (refusal) {
    showPasswordProblem(passwordProblem, refusal.message, refusal.hints || []);
    (refusal.code === 'refused' ? current : chosen).focus();
  } finally {
    button.disabled = false;
  }
});

const mfaDialog = document.getElementById('mfa-dialog');
const mfaState = document.getElementById('mfa-state');
const mfaForm = document.getElementById('mfa-enrol');
const mfaBegin = document.getElementById('mfa-begin');
const mfaProblem = document.getElementById('mfa-problem');

function stateText(state) {
  if (!state.enrolled) return 'Two-step login is off: logging in needs your password only.';
  const left = state.recovery_codes_left === 1 ? '1 recovery code' : `${state.recovery_codes_left} recovery codes`;
  return `Two-step login is on: logging in needs a code from your authenticator app. You have ${left} left.`;
}

document.getElementById('shell-mfa').addEventListener('click', async () => {
  mfaForm.hidden = true;
  mfaProblem.hidden = true;
  document.getElementById('mfa-recovery').hidden = true;
  mfaBegin.hidden = true;
  try {
    const state = await enqueue('GET', '/api/mfa');
    mfaState.textContent = stateText(state);
    mfaBegin.hidden = state.enrolled;
  } catch (refusal) {
    mfaState.textContent = refusal.message;
  }
  mfaDialog.showModal();
  (mfaBegin.hidden ? document.getElementById('mfa-close') : mfaBegin).focus();
});

mfaBegin.addEventListener('click', async () => {
  try {
    const answer = await enqueue('POST', '/api/mfa/begin', () => ({}));
    document.getElementById('mfa-secret').textContent = answer.secret;
    document.getElementById('mfa-qr').src = `${answer.qr}?${Date.now()}`;
    mfaBegin.hidden = true;
    mfaForm.hidden = false;
    document.getElementById('mfa-code').focus();
  } catch (refusal) {
    mfaState.textContent = refusal.message;
  }
});

mfaForm.addEventListener('submit', async (event) => {
  event.preventDefault();
  const code = document.getElementById('mfa-code');
  try {
    const answer = await enqueue('POST', '/api/mfa/confirm', () => ({ code: code.value }));
    mfaForm.hidden = true;
    mfaState.textContent = 'Two-step login is on: logging in needs a code from your authenticator app.';
    listRecoveryCodes(document.getElementById('mfa-recovery-codes'), answer.recovery_codes);
    document.getElementById('mfa-recovery').hidden = false;
    document.getElementById('mfa-close').focus();
  } catch (refusal) {
    mfaProblem.textContent = refusal.message;
    mfaProblem.hidden = false;
    code.value = '';
    code.focus();
  }
});

document.getElementById('mfa-close').addEventListener('click', () => mfaDialog.close());
