// Accounts as an insurer runs them, in Debian's chromium on `covernote serve`: users made with
// `covernote user add`, a first login that makes the user choose his own password (a weak one
// refused with zxcvbn's hint), a second factor set up from the screen and at the login with the
// QR code, codes computed by oathtool, a code taken once, a recovery code that works once, and a
// user who may only enquire. Every test leaves a screenshot in screenshots/.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import path from 'node:path';
import { command, covernoteBinary as binary, choosePassword, logIn, look, openTab, readCoverNote, screenshots,
  scratchRun, watchedPage } from './harness.mjs';

const shot = screenshots('accounts-');
const run = scratchRun('accounts', { serve: true, browser: true });
const kInitial = 'given by the office 2026 kettle';
const kOwn = 'marigold tramline ochre 7 sextant';

const covernote = (...args) => execFileSync(binary, [...args, '--db', path.join(run.scratch, 'covernote.db')],
  { env: run.env, encoding: 'utf8', input: `${kInitial}\n` });
// A user made as the operator makes one, his password to be changed at his first login.
const addUser = (name, ...options) => covernote('user', 'add', name, '--password-stdin', ...options);
// The code an authenticator app shows for the key, `later` seconds from now.
const totp = (secret, later = 0) =>
  execFileSync('oathtool', ['--totp', '-b', ...(later ? ['-N', `now + ${later} seconds`] : []), secret], { encoding: 'utf8' }).trim();

const loggedIn = (page) => page.waitForSelector('#shell-frame #txtCoverNoteNumber');
async function logOut(page) {
  await page.click('#shell-logout');
  await page.waitForURL(/login\.html/);
}
// Logs in with the password; the code form is then shown.
async function toCode(page, user, password) {
  await logIn(page, run.base, user, password);
  await page.locator('#code-form').waitFor({ state: 'visible' });
}
async function typeCode(page, code) {
  await page.fill('#code', code);
  await page.click('#code-form button[type=submit]');
}

test('the first login asks for a password of his own: a weak one is refused with its hint', async () => {
  assert.match(addUser('clerk', '--agent', 'HQ001'), /^Added CLERK \(agent HQ001, role amend\): the password is to be changed/);
  const { page, errors } = await watchedPage(run.context);
  await logIn(page, run.base, 'clerk', kInitial);
  await page.locator('#password-form').waitFor({ state: 'visible' });
  assert.deepEqual([await page.textContent('#choose-title'), await page.textContent('#password-form .step-user'),
    await page.evaluate(() => document.activeElement.id)], ['Choose your own password', 'CLERK', 'new-password']);
  for (const weak of ['password1234', 'clerkclerkclerk']) {
    await page.fill('#new-password', weak);
    await page.fill('#new-password-again', weak);
    await page.keyboard.press('Enter');
    await page.locator('#choose-failed').waitFor({ state: 'visible' });
    assert.equal(await page.textContent('#choose-message'), 'That password is too easy to guess.');
    assert.ok((await page.locator('#choose-hints li').allTextContents()).includes(
      'Add another word or two. Uncommon words are better.'), weak);
  }
  await shot(page, 'weak-password');
  await page.fill('#new-password', kOwn);
  await page.fill('#new-password-again', kOwn);
  await page.keyboard.press('Enter');
  await loggedIn(page);
  await logOut(page);
  // The password set for him no longer opens anything; his own does.
  await logIn(page, run.base, 'clerk', kInitial);
  await page.locator('#login-failed').waitFor({ state: 'visible' });
  await logIn(page, run.base, 'clerk', kOwn);
  await loggedIn(page);
  assert.deepEqual(errors.filter((error) => !/40[01]/.test(error)), []);
  await page.close();
});

test('a second factor set up from the screen: codes by oathtool, each taken once, a recovery code once', async () => {
  addUser('teller', '--agent', 'HQ001');
  await choosePassword(run.base, 'teller', kInitial, kOwn);
  const { page, errors } = await watchedPage(run.context);
  await logIn(page, run.base, 'teller', kOwn);
  await loggedIn(page);
  await page.click('#shell-mfa');
  await page.locator('#mfa-dialog').waitFor({ state: 'visible' });
  assert.match(await page.textContent('#mfa-state'), /^Two-step login is off/);
  await page.click('#mfa-begin');
  await page.locator('#mfa-enrol').waitFor({ state: 'visible' });
  const secret = await page.textContent('#mfa-secret');
  assert.match(secret, /^[A-Z2-7]{32}$/);
  await page.waitForFunction(() => document.querySelector('#mfa-qr').naturalWidth > 0);
  await page.fill('#mfa-code', '000000' === totp(secret) ? '111111' : '000000');
  await page.click('#mfa-confirm');
  await page.locator('#mfa-problem').waitFor({ state: 'visible' });
  assert.equal(await page.textContent('#mfa-problem'), 'The code is not right.');
  await page.fill('#mfa-code', totp(secret));
  await page.click('#mfa-confirm');
  await page.locator('#mfa-recovery').waitFor({ state: 'visible' });
  const recovery = await page.locator('#mfa-recovery-codes li').allTextContents();
  assert.equal(recovery.length, 10);
  assert.match(recovery[0], /^[2-9a-z]{5}-[2-9a-z]{5}$/);
  await shot(page, 'mfa-set-up');
  await page.click('#mfa-close');
  await logOut(page);

  // The next step's code logs in; the same code again is refused, as is a wrong one.
  const code = totp(secret, 30);
  await toCode(page, 'teller', kOwn);
  await shot(page, 'code-asked');
  await typeCode(page, code);
  await loggedIn(page);
  await logOut(page);
  await toCode(page, 'teller', kOwn);
  await typeCode(page, code);
  await page.locator('#code-failed').waitFor({ state: 'visible' });
  assert.equal(await page.textContent('#code-failed'), 'The code is not right.');
  // A recovery code, typed as it was shown or not, works once.
  await typeCode(page, recovery[0].toUpperCase());
  await loggedIn(page);
  await page.click('#shell-mfa');
  await page.waitForFunction(() => /recovery codes left/.test(document.querySelector('#mfa-state').textContent));
  assert.match(await page.textContent('#mfa-state'), /You have 9 recovery codes left\.$/);
  await page.click('#mfa-close');
  await logOut(page);
  await toCode(page, 'teller', kOwn);
  await typeCode(page, recovery[0]);
  await page.locator('#code-failed').waitFor({ state: 'visible' });
  assert.deepEqual(errors.filter((error) => !/401/.test(error)), []);
  await page.close();

  // The audit trail has it all, and `user list` shows the second factor on.
  const log = covernote('user', 'log', 'teller');
  for (const event of ['user added', 'password changed', 'mfa enrolled', 'login', 'code failed', 'recovery code used'])
    assert.match(log, new RegExp(`TELLER +${event} `), event);
  assert.match(covernote('user', 'list'), /\nTELLER +HQ001 +amend +active +\d{4}-\d\d-\d\dT[\d:]+Z +on\n/);
});

test('a second factor required by the operator is set up at the next login with the QR code', async () => {
  addUser('guard', '--agent', 'HQ001', '--require-mfa');
  const { page, errors } = await watchedPage(run.context);
  await logIn(page, run.base, 'guard', kInitial);
  await page.locator('#password-form').waitFor({ state: 'visible' });
  await page.fill('#new-password', kOwn);
  await page.fill('#new-password-again', kOwn);
  await page.keyboard.press('Enter');
  await page.locator('#enrol-form').waitFor({ state: 'visible' });
  await page.waitForFunction(() => document.querySelector('#enrol-qr').naturalWidth > 0);
  await shot(page, 'enrol-at-login');
  await page.fill('#enrol-code', totp(await page.textContent('#enrol-secret')));
  await page.keyboard.press('Enter');
  await page.locator('#recovery').waitFor({ state: 'visible' });
  assert.equal(await page.locator('#recovery-codes li').count(), 10);
  await shot(page, 'recovery-codes');
  await page.click('#recovery-done');
  await loggedIn(page);
  assert.deepEqual(errors, []);
  await page.close();
});

test('a user who may only enquire reads a cover note; Calculate and Save are off and refused', async () => {
  addUser('reader', '--agent', 'A1001', '--role', 'enquire');
  await choosePassword(run.base, 'reader', kInitial, kOwn);
  const { page, errors } = await watchedPage(run.context);
  await logIn(page, run.base, 'reader', kOwn);
  await loggedIn(page);
  await readCoverNote(page, 'CN24000101');
  const why = 'Shown read-only: your account may enquire only; it cannot calculate or save.';
  assert.deepEqual(await look(page, [command('Save'), '#shell-status']), [false, why]);
  await openTab(page, 'Premium', '#txtVehicleSumInsured');
  assert.deepEqual(await look(page, [command('Calculate'), command('Enquiry'), command('History'), '#shell-status']),
    [false, true, true, why]);
  await shot(page, 'enquire-only');
  // A request crafted past the screen is refused all the same.
  const refusals = await page.evaluate(async () => {
    const { screenId } = await import('/js/screen_id.js');
    const state = await (await fetch('/api/state', { headers: { 'X-Screen': screenId } })).json();
    const answers = [];
    for (const id of ['cmdSave', 'cmdCalculate']) {
      const reply = await fetch('/api/event', { method: 'POST',
        headers: { 'Content-Type': 'application/json', 'X-CSRF-Token': state.csrf, 'X-Screen': screenId },
        body: JSON.stringify({ seen: state.seq, kind: 'command', id }) });
      answers.push([reply.status, (await reply.json()).error]);
    }
    return answers;
  });
  assert.deepEqual(refusals, [[403, 'role'], [403, 'role']]);
  assert.deepEqual(errors.filter((error) => !/403/.test(error)), []);
  await page.close();
});
