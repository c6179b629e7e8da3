// The shell page in Debian's chromium against the server with the test screen: logging in,
// keys rewritten as they are typed, input filters, message boxes, tabs, reload, sessions and the
// selection dialog. Every test leaves a screenshot in screenshots/.
import assert from 'node:assert/strict';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { assertAccessible, command, logIn as logInAt, look, messageBox, openDialog, openTab, pageTest, screenshots,
  scratchRun, textIs, watchedPage } from './harness.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const serverBinary = process.env.COVERNOTE_E2E_SERVER ?? path.join(here, '../../build/release/tests/web/web_e2e_server');
const shot = screenshots('');
const run = scratchRun('screen', { serve: [serverBinary, ['0'], /PORT (\d+)/], browser: true });
const logIn = (page, password = 's3cret pass') => logInAt(page, run.base, 'alice', password);
async function loggedIn() {
  const watched = await watchedPage(run.context);
  await logIn(watched.page);
  await watched.page.waitForSelector('#shell-frame #txtNum');
  return watched;
}

pageTest('a wrong password is refused; the right one opens the screen, whose keys are rewritten as typed', () =>
  watchedPage(run.context), async (page) => {
  await logIn(page, 'wrong');
  await page.locator('#login-failed').waitFor({ state: 'visible' });
  assert.equal(await page.inputValue('#user'), 'alice');
  await shot(page, 'login-refused');
  await logIn(page);
  await page.waitForSelector('#shell-frame #txtNum');
  assert.deepEqual(await look(page, ['#shell-title', '#shell-tabs', command('Save'), '#shell-status']),
    ['Test Screen : ALICE', 'FirstSecond', false, 'Done']);
  await shot(page, 'shell');

  await page.click('#txtNum');
  await page.keyboard.type('ab#12c');
  await page.waitForFunction(() => document.querySelector('#txtNum').value === 'AB12C');
  await page.keyboard.press('Enter');  // runs the page handler
  await textIs(page, '#lblEcho', 'Read AB12C');
  assert.ok(await page.isEnabled(command('Save')));
  // Digits only in the amount, filtered here without asking the server.
  await page.click('#txtAmount');
  await page.keyboard.type('12a.5');
  assert.equal(await page.inputValue('#txtAmount'), '125');
  await shot(page, 'typing');
}, /401/);  // the refusal's own status

pageTest('a message box is modal, keeps Escape from a Yes/No question and answers with Enter', loggedIn, async (page) => {
  await page.fill('#txtName', 'Tan');
  await page.click(command('Ask'));
  assert.deepEqual(await messageBox(page), ['Clear the fields?', 'Yes', 'No']);
  assert.equal(await page.getAttribute('#message-box', 'role'), 'alertdialog');
  await shot(page, 'message-box');
  await page.keyboard.press('Escape');
  assert.ok(await page.isVisible('#message-box'));
  await page.keyboard.press('Enter');  // Yes has the focus
  await textIs(page, '#shell-status', 'Cleared');
  assert.equal(await page.inputValue('#txtName'), '');
});

pageTest('a field left is answered by the server, tabs switch pages, a reload shows the same state', loggedIn, async (page) => {
  await page.fill('#txtName', 'Lim');
  await page.locator('#txtName').blur();
  await textIs(page, '#lblEcho', 'Name Lim');
  assert.equal(await page.inputValue('#txtAmount'), '1.00');
  await openTab(page, 'Second', '#txtOther');
  await page.reload();
  await page.waitForSelector('#shell-frame #txtOther');
  assert.equal(await page.textContent('#shell-tabs [aria-selected=true]'), 'Second');
  await shot(page, 'second-tab');
});

pageTest('the administrator sees his own sessions and logs out the others', loggedIn, async (page) => {
  await logIn(page);  // the first session is left open, as on another desk
  await page.waitForSelector('#shell-frame #txtNum');
  await page.click('#shell-sessions');
  const items = page.locator('#sessions-list li');
  await items.first().waitFor();
  assert.ok((await items.count()) >= 2);
  // Dated as the screen dates everything.
  assert.match(await items.last().textContent(), /^\d\d-[A-Z][a-z]{2}-\d{4} \d\d:\d\d:\d\d [AP]M from 127\.0\.0\.1, idle 0 min \(this one\)$/);
  await page.click('#sessions-end-others');
  await page.locator('#sessions-note', { hasText: /^Logged out \d+ other sessions?\.$/ }).waitFor();
  assert.deepEqual([await items.count(), await page.isDisabled('#sessions-end-others')], [1, true]);
  await shot(page, 'sessions');
  await page.click('#sessions-close');
});

pageTest('the selection dialog lists the choices, narrows them as typed, and returns the one chosen', loggedIn, async (page) => {
  const rows = page.locator('#tblSrchList tbody tr');
  const names = () => rows.locator('td:nth-child(2)').allTextContents();
  await openDialog(page, 'Pick');
  assert.deepEqual([await page.textContent('#modal-title'), await page.locator('#tblSrchList th').allTextContents(),
    await names()], ['Select Body', ['Code', 'Body'], ['Saloon', 'Hatchback', 'Pick-up']]);
  // Typing goes to the filter; the first row left is highlighted, the arrow moves on.
  await page.keyboard.type('ck');
  assert.deepEqual(await names(), ['Hatchback', 'Pick-up']);
  await page.keyboard.press('ArrowDown');
  assert.equal(await rows.nth(1).getAttribute('aria-selected'), 'true');
  await shot(page, 'selection-dialog');
  await assertAccessible(page, 'selection dialog', '#modal-dialog');
  await page.keyboard.press('Enter');
  await textIs(page, '#shell-status', 'Picked True;B03;Pick-up');

  // Escape closes without a choice; a double click chooses at once.
  await openDialog(page, 'Pick');
  await page.keyboard.type('zzz');
  assert.deepEqual(await look(page, ['#lblSrchNotice', '#cmdSrchOK']), ['Nothing matches the filter.', false]);
  assert.equal(await rows.count(), 0);
  await page.keyboard.press('Escape');
  await textIs(page, '#shell-status', 'Picked nothing');
  await openDialog(page, 'Pick');
  await rows.nth(1).dblclick();
  await textIs(page, '#shell-status', 'Picked True;B02;Hatchback');
});
