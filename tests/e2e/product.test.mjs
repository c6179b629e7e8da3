// The real screen in Debian's chromium: `covernote serve` on a freshly seeded database,
// logged in as the demo administrator. Logging in, reading cover notes, typing, the keyboard,
// the enquiry dialog, every tab at two screen sizes, reset, logout.
// Every test leaves a screenshot in screenshots/.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { covernoteBinary as binary, startServer, launchBrowser, logIn as logInAt, scratchEnv, screenshots, watchedPage }
  from './harness.mjs';
import { openTab, readCoverNote, titleEndsWith, typeNumber } from './screen_steps.mjs';

const shot = screenshots('product-');

const kTitle = 'Cover Note Amendment - Administrator';
const kSave = '#shell-commands button:has-text("Save")';
const kReset = '#shell-commands button:has-text("Reset")';
const kEnquiry = '#shell-commands button:has-text("Enquiry")';

let server;
let base;
let context;
let scratch;
let env;
const kServing = /serving on http:\/\/127\.0\.0\.1:(\d+)/;

before(async () => {
  scratch = mkdtempSync(path.join(tmpdir(), 'covernote-product-'));
  env = scratchEnv(scratch);
  ({ server, base } = await startServer(binary, ['serve', '--port', '0', '--db', path.join(scratch, 'covernote.db')],
    kServing, env));
  context = await launchBrowser(path.join(scratch, 'chromium'));
});

after(async () => {
  await context?.close();
  server?.kill('SIGTERM');
  if (scratch) rmSync(scratch, { recursive: true, force: true });
});

const logIn = (page, user, password) => logInAt(page, base, user, password);

// A fresh tab logged in as the demo administrator, with the Cover tab shown.
async function screen(at = base) {
  const watched = await watchedPage(context);
  await logInAt(watched.page, at, 'admin', 'covernote');
  await watched.page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  return watched;
}


test('only the seeded administrator with his password gets in, and stays in', async () => {
  const page = await context.newPage();
  // A wrong password, an unknown user, a user without a password: the user name stays.
  for (const [user, password] of [['admin', 'wrong'], ['nobody', 'covernote'], ['SUPERVISOR', 'covernote']]) {
    await logIn(page, user, password);
    await page.locator('#login-failed').waitFor({ state: 'visible' });
    assert.match(page.url(), /\/login\.html$/, `${user} must be refused`);
    assert.equal(await page.inputValue('#user'), user);
    assert.equal(await page.inputValue('#password'), '');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'password');
  }
  await shot(page, 'login-refused');

  await page.fill('#user', 'admin');
  await page.fill('#password', 'covernote');
  await page.keyboard.press('Enter');
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  assert.equal(await page.textContent('#shell-title'), kTitle);
  assert.deepEqual(await page.locator('#shell-tabs [role=tab]').allTextContents(), ['Cover', 'Vehicle', 'NCD', 'Premium']);
  assert.ok(await page.isDisabled(kSave));
  assert.equal(await page.textContent('#shell-status'), 'Done');
  await shot(page, 'start');

  // Neither the back button nor the login page's address shows the form to a logged-in browser.
  await page.goBack();
  assert.doesNotMatch(page.url(), /login\.html/);
  await page.goto(`${base}/login.html`);
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  assert.match(page.url(), /\/app\.html$/);
  await page.close();
});

// Save is offered only for what the administrator may still amend.
const kReads = [
  { number: 'CN24000101', status: 'R', saveEnabled: true, vehicle: 'WQK 4521' },   // referred risk
  { number: 'CN24000103', status: 'I', saveEnabled: false, vehicle: 'VFD 88' },    // issued
];

for (const read of kReads) {
  test(`reading ${read.number} (status ${read.status}) by its number and Enter`, async () => {
    const { page, errors } = await screen();
    await readCoverNote(page, read.number);
    assert.equal(await page.textContent('#shell-title'), `${kTitle} : ${read.number}`);
    assert.equal(await page.inputValue('#txtCoverNoteNumber'), read.number);
    assert.equal(await page.inputValue('#txtVehicleNumber'), read.vehicle);
    assert.equal(await page.isEnabled(kSave), read.saveEnabled);
    assert.ok(!(await page.isVisible('#message-box')));
    await shot(page, `read-${read.number}`);
    assert.deepEqual(errors, []);
    await page.close();
  });
}

test('by keyboard alone: Ctrl+A and a new number reads it, the tabs open, the commands have keys', async () => {
  const { page, errors } = await screen();
  const selected = () => page.textContent('#shell-tabs [aria-selected=true]');
  const focusedTab = () => page.evaluate(() => document.activeElement.closest('[role=tab]')?.textContent ?? '');
  await readCoverNote(page, 'CN24000101');
  await page.click('#txtCoverNoteNumber');
  await page.keyboard.press('Control+A');
  await page.keyboard.type('CN24000108');
  await page.waitForFunction(() => document.querySelector('#txtCoverNoteNumber').value === 'CN24000108');
  // Inside the text: the caret moves back one, a digit goes, two come in its place.
  for (const key of ['ArrowLeft', 'Backspace', '0', '3']) await page.keyboard.press(key);
  await page.waitForFunction(() => document.querySelector('#txtCoverNoteNumber').value === 'CN240001038');
  await page.keyboard.press('Delete');  // the caret stayed after what was typed
  await page.keyboard.press('Enter');
  await titleEndsWith(page, 'CN24000103');
  assert.equal(await page.inputValue('#txtCoverNoteNumber'), 'CN24000103');
  await page.focus('#shell-logout');
  // The keys move the focus and open nothing; Enter and Space open the tab with the focus.
  for (const [key, tab] of [['Tab', 'Cover'], ['ArrowRight', 'Vehicle'], ['End', 'Premium'], ['Home', 'Cover'],
    ['ArrowLeft', 'Premium'], ['ArrowRight', 'Cover'], ['ArrowRight', 'Vehicle']]) {
    await page.keyboard.press(key);
    assert.equal(await focusedTab(), tab, key);
  }
  assert.notEqual(await page.evaluate(() => getComputedStyle(document.activeElement).outlineStyle), 'none');
  assert.equal(await selected(), 'Cover');
  await page.keyboard.press('Enter');
  await page.waitForSelector('#shell-frame #txtModel');
  await shot(page, 'tabs-by-keyboard');
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press(' ');
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  assert.equal(await selected(), 'Cover');

  // Each command button has its own access key, named in its tooltip.
  assert.deepEqual(await page.locator('#shell-commands button').evaluateAll((buttons) => buttons.map((b) => b.title)),
    ['Reset (Alt+R)', 'Save (Alt+S)', 'Enquiry (Alt+E)', 'Calculate (Alt+C)', 'History (Alt+H)']);
  assert.deepEqual(errors, []);
  await page.close();
});

test('an unknown number is answered with the not-found message and nothing is shown', async () => {
  const { page, errors } = await screen();
  await typeNumber(page, 'CN99999999');
  const box = page.locator('#message-box');
  await box.waitFor({ state: 'visible' });
  assert.match(await page.textContent('#message-text'), /No cover note was found for the number given/);
  assert.deepEqual(await page.locator('#message-buttons button').allTextContents(), ['OK']);
  await shot(page, 'not-found');
  await page.keyboard.press('Enter');
  await box.waitFor({ state: 'hidden' });
  assert.equal(await page.textContent('#shell-title'), kTitle);
  assert.ok(await page.isDisabled(kSave));
  assert.deepEqual(errors, []);
  await page.close();
});

async function openVehicleTab(page, number) {
  await readCoverNote(page, number);
  await openTab(page, 'Vehicle', '#divNPerson tr');
}

test('the Vehicle tab shows the named drivers read-only', async () => {
  const { page, errors } = await screen();
  await openVehicleTab(page, 'CN24000101');
  assert.equal(await page.textContent('#shell-tabs [aria-selected=true]'), 'Vehicle');
  assert.equal(await page.inputValue('#txtModel'), 'TARUMA ISWARA 1.5 (M)');
  // The three drivers stored with the cover note, the insured first.
  const rows = page.locator('#divNPerson tr');
  assert.equal(await rows.count(), 3);
  assert.equal(await rows.first().locator('#txtDrv').inputValue(), 'THE INSURED');
  assert.equal(await rows.nth(1).locator('#txtDrv').inputValue(), 'NUR AMIRA BINTI AHMAD FAIZAL');
  for (const input of await page.locator('#divNPerson input').all()) assert.ok(!(await input.isEditable()));
  for (const select of await page.locator('#divNPerson select').all()) assert.ok(await select.isDisabled());
  await shot(page, 'vehicle');
  assert.deepEqual(errors, []);
  await page.close();
});

test('the NCD tab shows the previous insurer and the stored claims read-only', async () => {
  const { page, errors } = await screen();
  await readCoverNote(page, 'CN24000102');
  await openTab(page, 'NCD', '#AccTbl tr');
  assert.equal(await page.inputValue('#txtExInsurer'), 'PERMATA GENERAL ASSURANCE BERHAD');
  const rows = page.locator('#AccTbl tr');
  assert.equal(await rows.count(), 2);
  assert.equal(await rows.nth(1).locator('#txtNATURE').inputValue(), 'THIRD PARTY PROPERTY DAMAGE');
  for (const input of await page.locator('#AccTbl input').all()) assert.ok(!(await input.isEditable()));
  await shot(page, 'ncd');
  assert.deepEqual(errors, []);
  await page.close();
});

// A commercial cover note shows every block; a tab that cannot be shown names no server folder.
test('every tab at 1366x768 and 1920x1080, locked controls alike', async () => {
  const { page, errors } = await screen();
  await readCoverNote(page, 'CN24000102');
  const tabs = await page.locator('#shell-tabs [role=tab]').allTextContents();
  for (const [width, height] of [[1366, 768], [1920, 1080]]) {
    await page.setViewportSize({ width, height });
    for (const tab of tabs) {
      await page.click(`#shell-tabs [role=tab]:has-text("${tab}")`);
      await page.waitForFunction((t) => document.querySelector('#shell-tabs [aria-selected=true]')?.textContent === t ||
        document.querySelector('#message-box').open, tab);
      await shot(page, `tab-${tab.toLowerCase()}-${width}x${height}`);
      if (!(await page.isVisible('#message-box'))) continue;
      assert.doesNotMatch(await page.textContent('#message-text'), /\/\w+\//);
      await page.keyboard.press('Enter');
    }
  }
  await openTab(page, 'Vehicle', '#tblCommVeh');
  const looks = await page.evaluate(() => ['txtBody', 'cboVehicleMakeCode', 'optHazardNo', 'optCGYes'].map((id) =>
    getComputedStyle(document.getElementById(id)).backgroundColor));
  assert.equal(new Set(looks).size, 1, `locked controls look alike: ${looks}`);
  assert.ok(await page.isHidden('text=Lock Type:'));
  assert.deepEqual(errors, []);
  await page.close();
});

test('reset asks first, Cancel keeps the cover note, OK clears it; logout ends the session', async () => {
  const { page, errors } = await screen();
  await readCoverNote(page, 'CN24000101');
  const box = page.locator('#message-box');

  await page.click(kReset);
  await box.waitFor({ state: 'visible' });
  assert.match(await page.textContent('#message-text'), /^Reset the screen\?/);
  assert.deepEqual(await page.locator('#message-buttons button').allTextContents(), ['OK', 'Cancel']);
  await shot(page, 'reset-asks');
  await page.click('#message-buttons button:has-text("Cancel")');
  await box.waitFor({ state: 'hidden' });
  assert.equal(await page.textContent('#shell-title'), `${kTitle} : CN24000101`);
  assert.equal(await page.inputValue('#txtCoverNoteNumber'), 'CN24000101');

  await page.click(kReset);
  await box.waitFor({ state: 'visible' });
  await page.click('#message-buttons button:has-text("OK")');
  await page.waitForFunction((title) => document.querySelector('#shell-title').textContent === title, kTitle);
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  assert.equal(await page.inputValue('#txtCoverNoteNumber'), '');
  assert.equal(await page.inputValue('#txtVehicleNumber'), '');
  assert.equal(await page.textContent('#shell-tabs [aria-selected=true]'), 'Cover');
  await shot(page, 'reset-done');

  await page.click('#shell-logout');
  await page.waitForURL(/login\.html/);
  assert.equal((await page.request.get(`${base}/api/state`)).status(), 401);
  assert.deepEqual(errors.filter((e) => !e.includes('401')), []);
  await page.close();
});

test('the enquiry finds cover notes by vehicle and the one chosen is read, from any tab', async () => {
  const { page, errors } = await screen();
  const dialog = page.locator('#modal-dialog');
  const rows = page.locator('#tblEnqList tbody tr');

  await page.click(kEnquiry);
  await dialog.waitFor({ state: 'visible' });
  assert.equal(await page.evaluate(() => document.activeElement.id), 'txtEnqText');
  assert.equal(await page.textContent('#modal-title'), 'CoverNote Enquiry');
  assert.deepEqual(await page.locator('#fldEnqBy label').allTextContents(), [' Cover Note No.', ' Vehicle No.', ' Client Name']);
  await page.check('#fldEnqBy input[value=VEHICLE]');
  await page.fill('#txtEnqText', 'bmk 71');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.querySelector('#lblEnqNotice').textContent === '2 found.');
  assert.deepEqual(await rows.locator('td:first-child').allTextContents(), ['CN24000102', 'CN24000107']);
  assert.deepEqual(await rows.first().locator('td:nth-child(4)').allTextContents(), ['Referred risk']);
  await shot(page, 'enquiry');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');  // the same search again: take the highlighted row
  await dialog.waitFor({ state: 'hidden' });
  await titleEndsWith(page, 'CN24000107');
  assert.equal(await page.inputValue('#txtVehicleNumber'), 'BMK 7101');

  // From the Vehicle tab the choice goes back to the Cover tab, which reads it.
  await openTab(page, 'Vehicle', '#txtModel');
  await page.click(kEnquiry);
  await dialog.waitFor({ state: 'visible' });
  await page.fill('#txtEnqText', 'zz-nothing');
  await page.click('#cmdEnqSearch');
  await page.waitForFunction(() => document.querySelector('#lblEnqNotice').textContent === 'Nothing matches.');
  await page.fill('#txtEnqText', 'CN24000101');
  await page.keyboard.press('Enter');
  await rows.first().waitFor();
  await rows.first().dblclick();
  await titleEndsWith(page, 'CN24000101');
  assert.equal(await page.textContent('#shell-tabs [aria-selected=true]'), 'Cover');
  assert.equal(await page.inputValue('#txtCoverNoteNumber'), 'CN24000101');

  // Closed without a choice, nothing changes.
  await page.click(kEnquiry);
  await dialog.waitFor({ state: 'visible' });
  await page.keyboard.press('Escape');
  await dialog.waitFor({ state: 'hidden' });
  assert.equal(await page.textContent('#shell-title'), `${kTitle} : CN24000101`);
  assert.deepEqual(errors, []);
  await page.close();
});

test('the premium tab shows the figures and covers, takes a cover, and puts back a sum insured out of limits', async () => {
  const { page, errors } = await screen();
  await readCoverNote(page, 'CN24000101');
  await openTab(page, 'Premium', '#divExtCover tr');
  assert.equal(await page.inputValue('#txtVehicleSumInsured'), '48,000.00');
  assert.equal(await page.textContent('#lblTotalPremium'), '1,868.39');
  assert.equal(await page.locator('#divExtCover tr').count(), 2);
  assert.ok(await page.isEnabled('#shell-commands button:has-text("Calculate")'));
  await shot(page, 'premium');

  await page.click('#lnkExtAdd');
  await page.locator('#ExtendedCover2').waitFor();
  await page.selectOption('#ExtendedCover2 #cboExtendedCoverType', '025');
  await page.waitForFunction(() => document.querySelector('#ExtendedCover2 #txtPercentage').value === '0.30');
  assert.ok(await page.isDisabled('#ExtendedCover2 #txtSumInsured'));
  await shot(page, 'premium-cover-added');

  // Calculate rates the cover note with the added cover on the tab's engine.
  await page.click('#shell-commands button:has-text("Calculate")');
  await page.waitForFunction(() => document.querySelector('#lblTotalPremium').textContent !== '1,868.39');
  assert.notEqual(await page.inputValue('#ExtendedCover2 #txtPremium'), '0.00');
  await shot(page, 'premium-calculated');

  const box = page.locator('#message-box');
  await page.fill('#txtVehicleSumInsured', '99999999');
  await page.press('#txtVehicleSumInsured', 'Tab');
  await box.waitFor({ state: 'visible' });
  assert.match(await page.textContent('#message-text'), /^The sum insured for class PC1/);
  await shot(page, 'premium-refused');
  await page.keyboard.press('Enter');
  await box.waitFor({ state: 'hidden' });
  assert.equal(await page.inputValue('#txtVehicleSumInsured'), '48,000.00');
  // The box takes the focus from the input while the server waits for its answer; that
  // second leaving is refused as stale (409) and the client shows the screen as it is.
  assert.deepEqual(errors.filter((e) => !e.includes('409 (Conflict)')), []);
  await page.close();
});

// Before the new tariff (a database of its own whose tariff date lies ahead) a note shows on the
// current engine's tab; an "O" note on the other premium tab. Figures right-aligned, no sideways scrolling.
test('the current-engine and the other premium tab at 1366x768', async () => {
  const database = path.join(scratch, 'before-new-tariff.db');
  execFileSync(binary, ['db', 'init', '--db', database], { env });
  execFileSync('sqlite3', [database, "UPDATE system_parameter SET value = '01-Jan-2099' WHERE code = 1127"]);
  const early = await startServer(binary, ['serve', '--port', '0', '--db', database], kServing, env);
  try {
    const { page, errors } = await screen(early.base);
    for (const [number, tab, total] of [['CN22000201', 'COVPrem', '636.99'], ['CN24000126', 'COVOPrem', '950.42']]) {
      await page.click('#shell-tabs [role=tab]:has-text("Cover")');
      await page.click('#shell-frame #txtCoverNoteNumber');
      await page.keyboard.press('Control+A');
      await page.keyboard.type(`${number}\n`);
      await titleEndsWith(page, number);
      await page.click(`#shell-tab-${tab}`);
      const figure = await page.waitForSelector('#shell-frame :is(#lblTotalPremium, #txtTotalPremium)', { state: 'attached' });
      await page.waitForFunction((e) => (e.textContent || e.value) !== '', figure);
      assert.deepEqual(await figure.evaluate((e) => [e.textContent || e.value, getComputedStyle(e).textAlign,
        document.documentElement.scrollWidth > document.documentElement.clientWidth]), [total, 'right', false]);
      await shot(page, `premium-${tab}`);
    }
    assert.deepEqual(errors, []);
    await page.close();
  } finally {
    early.server.kill('SIGTERM');
  }
});
