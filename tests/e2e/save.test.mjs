// Saving an amendment in Debian's chromium, on a server of its own over a freshly seeded
// database: the review before the write, the saved cover note read again, its history, and
// two administrators amending the same cover note.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { administrator, amendSumInsured, look, messageBox, openDialog, openTab, racingSaves,
  screenshots, scratchRun, titleEndsWith } from './harness.mjs';

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

test('Enter pressed eight times after Save writes one amendment, and an unchanged note nothing', async () => {
  const { page, errors } = await open('keys', 'CN24000109');
  // Nothing changed: the review says so and only closes.
  await openDialog(page, 'Save');
  assert.match(await page.textContent('#lblReviewNotice'), /^Nothing differs/);
  assert.deepEqual(await page.locator('#modal-dialog button:visible').allTextContents(), ['Close']);
  await shot(page, 'review-nothing-differs');
  await page.keyboard.press('Enter');
  await page.locator('#modal-dialog').waitFor({ state: 'hidden' });

  await amendSumInsured(page, '65000');
  await openDialog(page, 'Save');
  for (let i = 0; i < 8; i += 1) await page.keyboard.press('Enter');
  await page.waitForFunction(() => !document.querySelector('#message-box').open);
  if (await page.locator('#modal-dialog').isVisible()) await page.keyboard.press('Escape');
  await openDialog(page, 'History');
  assert.match(await page.textContent('#lblHistoryNotice'), /^1 saved amendment/);
  await page.click('#cmdHistoryClose');
  assert.deepEqual(errors, []);
});

test('the review of a premium agreed outside the tariff lists what the save writes', async () => {
  const { page, errors } = await open('other', 'CN24000126');
  await openTab(page, 'Premium', '#txtGrossPremium');
  await page.fill('#txtGrossPremium', '1200');
  await page.press('#txtGrossPremium', 'Tab');
  await openDialog(page, 'Save');
  assert.deepEqual(await page.locator('#tblReview td:first-child').allTextContents(),
    ['Gross premium', 'Gross premium for commission', 'Commission', 'Premium less commission']);
  await shot(page, 'review-other-premium');
  await page.keyboard.press('Escape');
  assert.deepEqual(errors, []);
});
