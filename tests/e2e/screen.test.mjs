// The shell page in Debian's chromium against the server with the test screen: logging in,
// keys rewritten as they are typed, input filters, message boxes, tabs, reload and logout.
// Every test leaves a screenshot in screenshots/.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { startServer, launchBrowser, logIn as logInAt, screenshots, watchedPage } from './harness.mjs';
import { openTab } from './screen_steps.mjs';

const here = path.dirname(fileURLToPath(import.meta.url));
const serverBinary = process.env.COVERNOTE_E2E_SERVER ?? path.join(here, '../../build/release/tests/web/web_e2e_server');
const shot = screenshots('');

let server;
let base;
let context;
let profile;

before(async () => {
  ({ server, base } = await startServer(serverBinary, ['0'], /PORT (\d+)/));
  profile = mkdtempSync(path.join(tmpdir(), 'covernote-chromium-'));
  context = await launchBrowser(profile);
});

after(async () => {
  await context?.close();
  server?.kill('SIGTERM');
  if (profile) rmSync(profile, { recursive: true, force: true });
});

const logIn = (page, password = 's3cret pass') => logInAt(page, base, 'alice', password);
const freshPage = () => watchedPage(context);

test('a wrong password is refused and the right one opens the screen', async () => {
  const { page, errors } = await freshPage();
  await logIn(page, 'wrong');
  await page.locator('#login-failed').waitFor({ state: 'visible' });
  assert.equal(await page.inputValue('#user'), 'alice');
  await shot(page, 'login-refused');

  await logIn(page);
  await page.waitForSelector('#shell-frame #txtNum');
  assert.equal(await page.textContent('#shell-title'), 'Test Screen : ALICE');
  assert.deepEqual(await page.locator('#shell-tabs [role=tab]').allTextContents(), ['First', 'Second']);
  assert.ok(await page.isDisabled('#shell-commands button:has-text("Save")'));
  assert.equal(await page.textContent('#shell-status'), 'Done');
  await shot(page, 'shell');
  assert.deepEqual(errors.filter((e) => !e.includes('401')), []);  // the refusal's own status
  await page.close();
});

test('keys are rewritten as they are typed and Enter runs the page handler', async () => {
  const { page, errors } = await freshPage();
  await logIn(page);
  await page.waitForSelector('#txtNum');
  await page.click('#txtNum');
  await page.keyboard.type('ab#12c');
  await page.waitForFunction(() => document.querySelector('#txtNum').value === 'AB12C');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.querySelector('#lblEcho').textContent === 'Read AB12C');
  assert.ok(await page.isEnabled('#shell-commands button:has-text("Save")'));

  // Digits only in the amount, filtered here without asking the server.
  await page.click('#txtAmount');
  await page.keyboard.type('12a.5');
  assert.equal(await page.inputValue('#txtAmount'), '125');
  await shot(page, 'typing');
  assert.deepEqual(errors, []);
  await page.close();
});

test('a message box is modal, keeps Escape from a Yes/No question and answers with Enter', async () => {
  const { page, errors } = await freshPage();
  await logIn(page);
  await page.waitForSelector('#txtName');
  await page.fill('#txtName', 'Tan');
  await page.click('#shell-commands button:has-text("Ask")');
  const box = page.locator('#message-box');
  await box.waitFor({ state: 'visible' });
  assert.equal(await box.getAttribute('role'), 'alertdialog');
  assert.equal(await page.textContent('#message-text'), 'Clear the fields?');
  assert.deepEqual(await page.locator('#message-buttons button').allTextContents(), ['Yes', 'No']);
  await shot(page, 'message-box');
  await page.keyboard.press('Escape');
  assert.ok(await box.isVisible());
  await page.keyboard.press('Enter');  // Yes has the focus
  await page.waitForFunction(() => document.querySelector('#shell-status').textContent === 'Cleared');
  assert.equal(await page.inputValue('#txtName'), '');
  assert.deepEqual(errors, []);
  await page.close();
});

test('tabs switch pages, a reload shows the same state, logout ends the session', async () => {
  const { page, errors } = await freshPage();
  await logIn(page);
  await page.waitForSelector('#txtName');
  await page.fill('#txtName', 'Lim');
  await page.locator('#txtName').blur();
  await page.waitForFunction(() => document.querySelector('#lblEcho').textContent === 'Name Lim');
  assert.equal(await page.inputValue('#txtAmount'), '1.00');

  await openTab(page, 'Second', '#txtOther');
  await page.reload();
  await page.waitForSelector('#shell-frame #txtOther');
  assert.equal(await page.getAttribute('#shell-tabs [aria-selected=true]', 'aria-selected'), 'true');
  assert.equal(await page.textContent('#shell-tabs [aria-selected=true]'), 'Second');
  await shot(page, 'second-tab');

  await page.click('#shell-logout');
  await page.waitForURL(/login\.html/);
  const state = await page.request.get(`${base}/api/state`);
  assert.equal(state.status(), 401);
  assert.deepEqual(errors.filter((e) => !e.includes('401')), []);
  await page.close();
});

test('the administrator sees his own sessions and logs out the others', async () => {
  const { page, errors } = await freshPage();
  await logIn(page);  // left open, as on another desk
  await page.waitForSelector('#shell-frame #txtNum');
  await logIn(page);
  await page.waitForSelector('#shell-frame #txtNum');
  await page.click('#shell-sessions');
  const items = page.locator('#sessions-list li');
  await items.first().waitFor();
  assert.ok((await items.count()) >= 2);
  assert.match(await items.last().textContent(), /from 127\.0\.0\.1, idle 0 min \(this one\)$/);
  await page.click('#sessions-end-others');
  await page.locator('#sessions-note', { hasText: /^Logged out \d+ other sessions?\.$/ }).waitFor();
  assert.equal(await items.count(), 1);
  assert.ok(await page.isDisabled('#sessions-end-others'));
  await shot(page, 'sessions');
  await page.click('#sessions-close');
  assert.deepEqual(errors, []);
  await page.close();
});

test('the selection dialog lists the choices, narrows them as typed, and returns the one chosen', async () => {
  const { page, errors } = await freshPage();
  await logIn(page);
  await page.waitForSelector('#txtName');
  const dialog = page.locator('#modal-dialog');
  const rows = page.locator('#tblSrchList tbody tr');

  await page.click('#shell-commands button:has-text("Pick")');
  await dialog.waitFor({ state: 'visible' });
  assert.equal(await page.textContent('#modal-title'), 'Select Body');
  assert.deepEqual(await page.locator('#tblSrchList th').allTextContents(), ['Code', 'Body']);
  assert.deepEqual(await rows.locator('td:nth-child(2)').allTextContents(), ['Saloon', 'Hatchback', 'Pick-up']);
  // Typing goes to the filter; the first row left is highlighted, the arrow moves on.
  await page.keyboard.type('ck');
  assert.deepEqual(await rows.locator('td:nth-child(2)').allTextContents(), ['Hatchback', 'Pick-up']);
  await page.keyboard.press('ArrowDown');
  assert.equal(await page.getAttribute('#tblSrchList tbody tr:nth-child(2)', 'aria-selected'), 'true');
  await shot(page, 'selection-dialog');
  await page.keyboard.press('Enter');
  await dialog.waitFor({ state: 'hidden' });
  await page.waitForFunction(() => document.querySelector('#shell-status').textContent.startsWith('Picked'));
  assert.equal(await page.textContent('#shell-status'), 'Picked True;B03;Pick-up');

  // Escape closes without a choice; a double click chooses at once.
  await page.click('#shell-commands button:has-text("Pick")');
  await dialog.waitFor({ state: 'visible' });
  await page.keyboard.type('zzz');
  assert.equal(await rows.count(), 0);
  assert.equal(await page.textContent('#lblSrchNotice'), 'Nothing matches the filter.');
  assert.ok(await page.isDisabled('#cmdSrchOK'));
  await page.keyboard.press('Escape');
  await dialog.waitFor({ state: 'hidden' });
  await page.waitForFunction(() => document.querySelector('#shell-status').textContent === 'Picked nothing');

  await page.click('#shell-commands button:has-text("Pick")');
  await dialog.waitFor({ state: 'visible' });
  await rows.nth(1).dblclick();
  await page.waitForFunction(() => document.querySelector('#shell-status').textContent === 'Picked True;B02;Hatchback');
  assert.deepEqual(errors, []);
  await page.close();
});
