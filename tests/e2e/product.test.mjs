// The real screen in Debian's chromium: `covernote serve` on a freshly seeded database,
// logged in as the demo administrator. Logging in, reading cover notes, typing, the keyboard,
// the enquiry dialog, every tab at two screen sizes, reset, logout.
// Every test leaves a screenshot in screenshots/.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import path from 'node:path';
import { assertSameAsSentWhole, choosePassword, command, covernoteBinary as binary, editable, kAdminPassword, kServing, logIn as logInAt, look, messageBox,
  openDialog, openTab, pageTest, readCoverNote, screenshots, scratchRun, startServer, textIs, titleEndsWith, typeNumber,
  values, watchedPage } from './harness.mjs';

const shot = screenshots('product-');
const run = scratchRun('product', { serve: true, browser: true });
const kTitle = 'Cover Note Amendment - Administrator';
const kSelectedTab = '#shell-tabs [aria-selected=true]';

// A fresh tab logged in as the demo administrator, with the Cover tab shown.
async function screen(at = run.base) {
  const watched = await watchedPage(run.context);
  await logInAt(watched.page, at, 'admin', kAdminPassword);
  await watched.page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  return watched;
}
// The title, the number, the vehicle, whether Save is offered and whether a box is open.
const readState = (page) => look(page, ['#shell-title', '#txtCoverNoteNumber', '#txtVehicleNumber', command('Save'),
  '#message-box']);

test('only the seeded administrator with his password gets in, and stays in', async () => {
  const page = await run.context.newPage();
  // A wrong password, an unknown user, a user without a password: the user name stays.
  for (const [user, password] of [['admin', 'wrong'], ['admin', 'covernote'], ['nobody', kAdminPassword],
    ['SUPERVISOR', 'covernote']]) {
    await logInAt(page, run.base, user, password);
    await page.locator('#login-failed').waitFor({ state: 'visible' });
    assert.deepEqual([new URL(page.url()).pathname, ...await look(page, ['#user', '#password']),
      await page.evaluate(() => document.activeElement.id)], ['/login.html', user, '', 'password'], user);
  }
  await shot(page, 'login-refused');

  await page.fill('#user', 'admin');
  await page.fill('#password', kAdminPassword);
  await page.keyboard.press('Enter');
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  assert.deepEqual(await look(page, ['#shell-title', '#shell-tabs', command('Save'), '#shell-status']),
    [kTitle, 'CoverVehicleNCDPremium', false, 'Done']);
  await shot(page, 'start');

  // Neither the back button nor the login page's address shows the form to a logged-in browser.
  await page.goBack();
  assert.doesNotMatch(page.url(), /login\.html/);
  await page.goto(`${run.base}/login.html`);
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  assert.match(page.url(), /\/app\.html$/);
  await page.close();
});

// Save is offered only for what the administrator may still amend: a referred risk, not an issued one.
pageTest('reading by number and Enter, by keyboard alone; the tabs open and the commands have keys', screen, async (page) => {
  const focusedTab = () => page.evaluate(() => document.activeElement.closest('[role=tab]')?.textContent ?? '');
  await readCoverNote(page, 'CN24000101');
  assert.deepEqual(await readState(page), [`${kTitle} : CN24000101`, 'CN24000101', 'WQK 4521', true, false]);
  await shot(page, 'read-CN24000101');
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
  assert.deepEqual(await readState(page), [`${kTitle} : CN24000103`, 'CN24000103', 'VFD 88', false, false]);
  await shot(page, 'read-CN24000103');
  await page.focus('#shell-logout');
  // The keys move the focus and open nothing; Enter and Space open the tab with the focus.
  for (const [key, tab] of [['Tab', 'Cover'], ['ArrowRight', 'Vehicle'], ['End', 'Premium'], ['Home', 'Cover'],
    ['ArrowLeft', 'Premium'], ['ArrowRight', 'Cover'], ['ArrowRight', 'Vehicle']]) {
    await page.keyboard.press(key);
    assert.equal(await focusedTab(), tab, key);
  }
  assert.notEqual(await page.evaluate(() => getComputedStyle(document.activeElement).outlineStyle), 'none');
  assert.equal(await page.textContent(kSelectedTab), 'Cover');
  await page.keyboard.press('Enter');
  await page.waitForSelector('#shell-frame #txtModel');
  // The tab opened takes the keyboard to its first field, locked on an issued cover note but in reach.
  await page.waitForFunction(() => document.activeElement.id === 'cboVehicleMakeCode');
  const make = await page.inputValue('#cboVehicleMakeCode');
  await page.keyboard.press('ArrowDown');  // a locked list does not change
  assert.equal(await page.inputValue('#cboVehicleMakeCode'), make);
  await shot(page, 'tabs-by-keyboard');
  await page.keyboard.press('Alt+1');
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  assert.equal(await page.textContent(kSelectedTab), 'Cover');
  // Each tab and command button has its own access key, named in its tooltip.
  assert.deepEqual(await page.locator('#shell-bar button, .shell-bar button').evaluateAll((buttons) => buttons.map((b) => b.title)),
    ['Cover (Alt+1)', 'Vehicle (Alt+2)', 'NCD (Alt+3)', 'Premium (Alt+4)',
      'Reset (Alt+R)', 'Save (Alt+S)', 'Enquiry (Alt+E)', 'Calculate (Alt+C)', 'History (Alt+H)']);
});

pageTest('an unknown number is answered with the not-found message and nothing is shown', screen, async (page) => {
  await typeNumber(page, 'CN99999999');
  assert.deepEqual(await messageBox(page), ['No cover note was found for the number given. Please enter the number ' +
    'of an existing cover note and try again.', 'OK']);
  await shot(page, 'not-found');
  await page.keyboard.press('Enter');
  await page.locator('#message-box').waitFor({ state: 'hidden' });
  assert.deepEqual(await readState(page), [kTitle, 'CN99999999', '', false, false]);
});

// The drivers stored with the cover note, the insured first; the previous insurer and the claims.
pageTest('the Vehicle and NCD tabs show what was read, read-only', screen, async (page) => {
  for (const [number, tab, list, field, shown, column, rows] of [
    ['CN24000101', 'Vehicle', '#divNPerson', '#txtModel', 'TARUMA ISWARA 1.5 (M)', '#txtDrv',
      ['THE INSURED', 'NUR AMIRA BINTI AHMAD FAIZAL', 'AHMAD ZAKI BIN ISMAIL']],
    ['CN24000102', 'NCD', '#AccTbl', '#txtExInsurer', 'PERMATA GENERAL ASSURANCE BERHAD', '#txtNATURE',
      ['OWN DAMAGE', 'THIRD PARTY PROPERTY DAMAGE']]]) {
    await readCoverNote(page, number);
    await openTab(page, tab, `${list} tr`);
    assert.deepEqual([...await look(page, [kSelectedTab, field]), await values(page, `${list} ${column}`),
      await editable(page, list)], [tab, shown, rows, 0], tab);
    await shot(page, tab.toLowerCase());
    await openTab(page, 'Cover', '#txtCoverNoteNumber');
  }
  // Shown again, the company still has no gender or marital status: a list with nothing chosen
  // shows nothing.
  assert.deepEqual(await look(page, ['#cboGender', '#cboMaritalStat']), ['', '']);
});

// A commercial cover note shows every block; a tab that cannot be shown names no server folder.
pageTest('every tab at 1366x768 and 1920x1080, locked controls alike', screen, async (page) => {
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
});

pageTest('reset asks first, Cancel keeps the cover note, OK clears it; logout ends the session', screen, async (page) => {
  await readCoverNote(page, 'CN24000101');
  await page.click(command('Reset'));
  assert.deepEqual(await messageBox(page),
    ['Reset the screen? Any changes that have not been saved will be lost.', 'OK', 'Cancel']);
  await shot(page, 'reset-asks');
  await page.click('#message-buttons button:has-text("Cancel")');
  await page.locator('#message-box').waitFor({ state: 'hidden' });
  assert.deepEqual(await readState(page), [`${kTitle} : CN24000101`, 'CN24000101', 'WQK 4521', true, false]);

  await page.click(command('Reset'));
  await page.click('#message-buttons button:has-text("OK")');
  await textIs(page, '#shell-title', kTitle);
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  assert.deepEqual([...await readState(page), await page.textContent(kSelectedTab)], [kTitle, '', '', false, false, 'Cover']);
  // With no cover note shown, no page default (today's date, the first class) looks like a value read.
  assert.deepEqual(await page.$$eval('#shell-frame :is(input, select)', (boxes) =>
    boxes.filter((box) => box.checkVisibility({ visibilityProperty: true })).map((box) => box.id)), ['txtCoverNoteNumber']);
  await shot(page, 'reset-done');

  await page.click('#shell-logout');
  await page.waitForURL(/login\.html/);
  assert.equal((await page.request.get(`${run.base}/api/state`)).status(), 401);
}, /401/);

pageTest('the enquiry finds cover notes by vehicle and the one chosen is read, from any tab', screen, async (page) => {
  const rows = page.locator('#tblEnqList tbody tr');
  await openDialog(page, 'Enquiry');
  assert.deepEqual([await page.evaluate(() => document.activeElement.id), await page.textContent('#modal-title'),
    await page.locator('#fldEnqBy label').allTextContents()],
  ['txtEnqText', 'CoverNote Enquiry', [' Cover Note No.', ' Vehicle No.', ' Client Name']]);
  await page.check('#fldEnqBy input[value=VEHICLE]');
  await page.fill('#txtEnqText', 'bmk 71');
  await page.keyboard.press('Enter');
  await textIs(page, '#lblEnqNotice', '2 found.');
  assert.deepEqual(await rows.locator('td:first-child').allTextContents(), ['CN24000102', 'CN24000107']);
  assert.equal(await rows.first().locator('td:nth-child(4)').textContent(), 'Referred risk');
  await shot(page, 'enquiry');
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');  // the same search again: take the highlighted row
  await titleEndsWith(page, 'CN24000107');
  assert.deepEqual(await look(page, ['#modal-dialog', '#txtVehicleNumber']), [false, 'BMK 7101']);

  // From the Vehicle tab the choice goes back to the Cover tab, which reads it.
  await openTab(page, 'Vehicle', '#txtModel');
  await openDialog(page, 'Enquiry');
  await page.fill('#txtEnqText', 'zz-nothing');
  await page.click('#cmdEnqSearch');
  await textIs(page, '#lblEnqNotice', 'Nothing matches.');
  await page.fill('#txtEnqText', 'CN24000101');
  await page.keyboard.press('Enter');
  await rows.first().dblclick();
  await titleEndsWith(page, 'CN24000101');
  assert.deepEqual(await look(page, [kSelectedTab, '#txtCoverNoteNumber']), ['Cover', 'CN24000101']);
  await assertSameAsSentWhole(page);  // the Cover tab kept since the first read

  // Closed without a choice, nothing changes.
  await openDialog(page, 'Enquiry');
  await page.keyboard.press('Escape');
  await page.locator('#modal-dialog').waitFor({ state: 'hidden' });
  assert.equal(await page.textContent('#shell-title'), `${kTitle} : CN24000101`);
});

// The box takes the focus from the sum insured while the server waits for its answer; that second
// leaving is refused as stale (409) and the client shows the screen as it is.
pageTest('the premium tab shows the figures and covers, takes a cover, and puts back a sum insured out of limits', screen,
  async (page) => {
    await readCoverNote(page, 'CN24000101');
    await openTab(page, 'Premium', '#divExtCover tr');
    assert.deepEqual([...await look(page, ['#txtVehicleSumInsured', '#lblTotalPremium', command('Calculate')]),
      await page.locator('#divExtCover tr').count()], ['48,000.00', '1,868.39', true, 2]);
    await shot(page, 'premium');
    await page.click('#lnkExtAdd');
    await page.selectOption('#ExtendedCover2 #cboExtendedCoverType', '025');
    await page.waitForFunction(() => document.querySelector('#ExtendedCover2 #txtPercentage').value === '0.30');
    assert.ok(await page.locator('#ExtendedCover2 #txtSumInsured').evaluate((e) => e.readOnly));
    await shot(page, 'premium-cover-added');
    // Calculate rates the cover note with the added cover on the tab's engine.
    await page.click(command('Calculate'));
    await page.waitForFunction(() => document.querySelector('#lblTotalPremium').textContent !== '1,868.39');
    assert.notEqual(await page.inputValue('#ExtendedCover2 #txtPremium'), '0.00');
    await shot(page, 'premium-calculated');

    await page.fill('#txtVehicleSumInsured', '99999999');
    await page.press('#txtVehicleSumInsured', 'Tab');
    assert.match((await messageBox(page))[0], /^The sum insured for class PC1/);
    await shot(page, 'premium-refused');
    await page.keyboard.press('Enter');
    await page.locator('#message-box').waitFor({ state: 'hidden' });
    await page.waitForFunction(() => document.querySelector('#txtVehicleSumInsured').value === '48,000.00');
  }, /409 \(Conflict\)/);

// An issued cover note is shown, not changed: nothing on its premium tab or its Vehicle tab (year made) can
// be changed, Calculate is off and the status bar says why.
pageTest('a read-only cover note offers nothing to change on its premium and vehicle tabs', screen, async (page) => {
  await readCoverNote(page, 'CN24000103');
  await openTab(page, 'Premium', '#txtVehicleSumInsured');
  await page.type('#txtVehicleSumInsured', '9');  // typing into a figure changes nothing
  assert.deepEqual([await editable(page, '#shell-frame'), await page.isHidden('#lnkExtAdd'),
    ...await look(page, ['#txtVehicleSumInsured', command('Calculate'), '#shell-status'])],
  [0, true, '38,000.00', false, 'Shown read-only: this cover note is issued; only a referred risk can be amended.']);
  await shot(page, 'premium-read-only');
  await openTab(page, 'Vehicle', '#txtYearMade');
  assert.equal(await editable(page, '#shell-frame'), 0);
});

// Before the new tariff (a database of its own whose tariff date lies ahead) a note shows on the
// current engine's tab; an "O" note on the other premium tab. Figures right-aligned, no sideways scrolling.
pageTest('the current-engine and the other premium tab at 1366x768', async () => {
  const database = path.join(run.scratch, 'before-new-tariff.db');
  execFileSync(binary, ['db', 'init', '--sample', '--db', database], { env: run.env });
  execFileSync('sqlite3', [database, "UPDATE system_parameter SET value = '01-Jan-2099' WHERE code = 1127"]);
  const early = await startServer(binary, ['serve', '--port', '0', '--db', database], kServing, run.env);
  run.processes.push(early.server);
  await choosePassword(early.base);
  return screen(early.base);
}, async (page) => {
  for (const [number, tab, total] of [['CN22000201', 'COVPrem', '636.99'], ['CN24000126', 'COVOPrem', '1,229.00']]) {
    await page.click('#shell-tabs [role=tab]:has-text("Cover")');
    await readCoverNote(page, number);
    await page.click(`#shell-tab-${tab}`);
    const figure = await page.waitForSelector('#shell-frame :is(#lblTotalPremium, #txtTotalPremium)', { state: 'attached' });
    await page.waitForFunction((e) => (e.textContent || e.value) !== '', figure);
    assert.deepEqual(await figure.evaluate((e) => [e.textContent || e.value, getComputedStyle(e).textAlign,
      document.documentElement.scrollWidth > document.documentElement.clientWidth]), [total, 'right', false]);
    await shot(page, `premium-${tab}`);
  }
});
