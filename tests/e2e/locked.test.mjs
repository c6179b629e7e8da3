// Locked is locked: a cover note shown read-only offers nothing to change on its premium tab and
// no Calculate, and the status bar says why; on a cover note that may be amended, a cover the
// administrator has just added is offered for removal and removed.
import assert from 'node:assert/strict';
import { command, editable, logIn, look, messageBox, openTab, pageTest, readCoverNote, screenshots,
  scratchRun, watchedPage } from './harness.mjs';

const shot = screenshots('locked-');
const run = scratchRun('locked', { serve: true, browser: true });

async function screen() {
  const watched = await watchedPage(run.context);
  await logIn(watched.page, run.base, 'admin', 'covernote');
  await watched.page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  return watched;
}

pageTest('an issued cover note: its premium tab and its year made are shown, not changed', screen, async (page) => {
  await readCoverNote(page, 'CN24000103');
  await openTab(page, 'Premium', '#txtVehicleSumInsured');
  assert.deepEqual([await editable(page, '#shell-frame'), ...await look(page, [command('Calculate'), '#shell-status'])],
    [0, false, 'Shown read-only: this cover note is issued; only a referred risk can be amended.']);
  assert.ok(await page.isHidden('#lnkExtAdd'));
  // Typing into a figure changes nothing.
  await page.click('#txtVehicleSumInsured');
  await page.keyboard.type('9');
  assert.equal(await page.inputValue('#txtVehicleSumInsured'), '38,000.00');
  await shot(page, 'premium-read-only');
  await openTab(page, 'Vehicle', '#txtYearMade');
  assert.deepEqual([await page.inputValue('#txtYearMade'), await editable(page, '#shell-frame')], ['2023', 0]);
});

pageTest('a cover just added is offered for removal and removed, by keyboard alone', screen, async (page) => {
  await readCoverNote(page, 'CN24000101');
  await openTab(page, 'Premium', '#divExtCover tr');
  await page.focus('#lnkExtAdd');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.activeElement?.id === 'cboExtendedCoverType');
  await page.keyboard.press('ArrowDown');
  await page.locator('#lnkExtDelete').waitFor({ state: 'visible' });
  await shot(page, 'cover-added');
  await page.focus('#lnkExtDelete');
  await page.keyboard.press('Enter');
  assert.equal((await messageBox(page))[0], 'This action will remove the highlighted row.\r\nDo you wish to proceed?');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => document.querySelectorAll('#divExtCover tr').length === 2);
  assert.ok(await page.isHidden('#lnkExtDelete'));
  await shot(page, 'cover-removed');
});
