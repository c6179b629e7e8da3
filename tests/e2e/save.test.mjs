// Saving an amendment in Debian's chromium, on a server of its own over a freshly seeded
// database: the review before the write, the saved cover note read again, its history, and
// two administrators amending the same cover note.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { administrator, amendSumInsured, look, messageBox, openDialog, openTab, racingSaves, screenshots,
  scratchRun, titleEndsWith } from './harness.mjs';

const shot = screenshots('save-');
const run = scratchRun('save', { serve: true });
const open = (name, number) => administrator({ base: run.base, profile: run.profile(name), contexts: run.contexts }, number);
const cells = (page, table, hasText) => page.locator(`${table} tr`, { hasText }).locator('td').allTextContents();

test('an amendment is reviewed, saved, read again and listed in the history', async () => {
  const { page, errors } = await open('first', 'CN24000101');
  await amendSumInsured(page, '60000');
  const total = await page.textContent('#lblTotalPremium');

  // Cancel in the review writes nothing and leaves the amendment on the screen.
  await openDialog(page, 'Save');
  assert.deepEqual(await cells(page, '#tblReview', 'Vehicle sum insured'),
    ['Vehicle sum insured', '48,000.00', '60,000.00', '+12,000.00']);
  await shot(page, 'review');
  await page.keyboard.press('Escape');
  await page.locator('#modal-dialog').waitFor({ state: 'hidden' });
  assert.equal(await page.inputValue('#txtVehicleSumInsured'), '60,000.00');

  // Save in the review writes it; the Cover tab reads the saved cover note again.
  await openDialog(page, 'Save');
  await page.click('#cmdReviewSave');
  assert.deepEqual(await messageBox(page), ['The cover note has been saved.', 'OK']);
  await page.keyboard.press('Enter');
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  await titleEndsWith(page, 'CN24000101');
  await openTab(page, 'Premium', '#txtVehicleSumInsured');
  assert.deepEqual(await look(page, ['#txtVehicleSumInsured', '#lblTotalPremium']), ['60,000.00', total]);

  await openDialog(page, 'History');
  assert.deepEqual((await cells(page, '#tblHistory', 'Vehicle sum insured')).slice(2),
    ['Vehicle sum insured', '48,000.00', '60,000.00']);
  assert.match(await page.textContent('#lblHistoryNotice'), /^1 saved amendment/);
  await shot(page, 'history');
  await page.click('#cmdHistoryClose');
  await page.locator('#modal-dialog').waitFor({ state: 'hidden' });
  assert.deepEqual(errors, []);
});

test('of two administrators amending one cover note, the second is refused and told who saved', async () => {
  await racingSaves(await open('one', 'CN24000102'), await open('two', 'CN24000102'), shot);
});
