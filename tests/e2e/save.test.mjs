// Saving an amendment in Debian's chromium, on a server of its own over a freshly seeded
// database: the review before the write, the saved cover note read again, its history, and
// two administrators amending the same cover note.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { covernoteBinary as binary, scratchEnv, screenshots, startServer } from './harness.mjs';
import { administrator, amendSumInsured, answerBox, command, openTab, titleEndsWith } from './screen_steps.mjs';

const shot = screenshots('save-');

let server;
let base;
let scratch;
const contexts = [];
const open = (name, number) => administrator({ base, profile: path.join(scratch, `chromium-${name}`), contexts }, number);

before(async () => {
  scratch = mkdtempSync(path.join(tmpdir(), 'covernote-save-'));
  ({ server, base } = await startServer(binary, ['serve', '--port', '0', '--db', path.join(scratch, 'covernote.db')],
    /serving on http:\/\/127\.0\.0\.1:(\d+)/, scratchEnv(scratch)));
});

after(async () => {
  for (const context of contexts) await context.close();
  server?.kill('SIGTERM');
  if (scratch) rmSync(scratch, { recursive: true, force: true });
});

test('an amendment is reviewed, saved, read again and listed in the history', async () => {
  const { page, errors } = await open('first', 'CN24000101');
  await amendSumInsured(page, '60000');
  const total = await page.textContent('#lblTotalPremium');

  // Cancel in the review writes nothing and leaves the amendment on the screen.
  await page.click(command('Save'));
  const review = page.locator('#modal-dialog');
  await review.waitFor({ state: 'visible' });
  const row = page.locator('#tblReview tr', { hasText: 'Vehicle sum insured' });
  assert.deepEqual(await row.locator('td').allTextContents(), ['Vehicle sum insured', '48,000.00', '60,000.00', '+12,000.00']);
  await shot(page, 'review');
  await page.keyboard.press('Escape');
  await review.waitFor({ state: 'hidden' });
  assert.equal(await page.inputValue('#txtVehicleSumInsured'), '60,000.00');

  // Save in the review writes it; the Cover tab reads the saved cover note again.
  await page.click(command('Save'));
  await review.waitFor({ state: 'visible' });
  await page.click('#cmdReviewSave');
  assert.equal((await answerBox(page)).text, 'The cover note has been saved.');
  await page.keyboard.press('Enter');
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  await titleEndsWith(page, 'CN24000101');
  await openTab(page, 'Premium', '#txtVehicleSumInsured');
  assert.equal(await page.inputValue('#txtVehicleSumInsured'), '60,000.00');
  assert.equal(await page.textContent('#lblTotalPremium'), total);

  await page.click(command('History'));
  await review.waitFor({ state: 'visible' });
  const change = page.locator('#tblHistory tr', { hasText: 'Vehicle sum insured' });
  assert.deepEqual((await change.locator('td').allTextContents()).slice(2), ['Vehicle sum insured', '48,000.00', '60,000.00']);
  assert.match(await page.textContent('#lblHistoryNotice'), /^1 saved amendment/);
  await shot(page, 'history');
  await page.click('#cmdHistoryClose');
  await review.waitFor({ state: 'hidden' });
  assert.deepEqual(errors, []);
});

test('of two administrators amending one cover note, the second is refused and told who saved', async () => {
  const first = await open('one', 'CN24000102');
  const second = await open('two', 'CN24000102');
  await amendSumInsured(first.page, '90000');
  await amendSumInsured(second.page, '95000');

  await first.page.click(command('Save'));
  await first.page.click('#cmdReviewSave');
  assert.equal((await answerBox(first.page)).text, 'The cover note has been saved.');
  await first.page.keyboard.press('Enter');

  await second.page.click(command('Save'));
  await second.page.click('#cmdReviewSave');
  const refused = await answerBox(second.page);
  assert.match(refused.text, /^ADMIN saved this cover note at \d\d-[A-Z][a-z]{2}-\d{4} \d\d:\d\d:\d\d [AP]M, after you read it\./);
  await shot(second.page, 'refused');
  // OK reads it again: the first administrator's amendment is what is stored.
  await second.page.keyboard.press('Enter');
  await second.page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  await openTab(second.page, 'Premium', '#txtVehicleSumInsured');
  assert.equal(await second.page.inputValue('#txtVehicleSumInsured'), '90,000.00');
  assert.deepEqual([...first.errors, ...second.errors], []);
});
