// An amendment outlives its server: the server is killed mid-amendment and started again on
// the same database; the tab's next action finds the login still good and its screen rebuilt
// from the tab's journal, and Save writes what was typed before and after.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import path from 'node:path';
import { administrator, amendSumInsured, covernoteBinary, kServing, look, openTab, screenshots, scratchRun,
  startServer, textIs } from './harness.mjs';

const shot = screenshots('restart-');
const run = scratchRun('restart', { serve: true });

test('a server killed mid-amendment and started again: the values typed are restored and Save writes them', async () => {
  const { page, errors } = await administrator({ base: run.base, profile: run.profile('restart'), contexts: run.contexts }, 'CN24000101');
  await openTab(page, 'Vehicle', '#txtYearMade');
  await page.fill('#txtYearMade', '2020');
  await amendSumInsured(page, '65000');
  const total = await page.textContent('#lblTotalPremium');
  run.processes[0].kill('SIGKILL');
  await new Promise((resolve) => run.processes[0].once('exit', resolve));
  const port = new URL(run.base).port;
  const database = path.join(run.scratch, 'covernote.db');
  const again = await startServer(covernoteBinary, ['serve', '--port', port, '--db', database], kServing, run.env);
  run.processes.push(again.server);

  // The action that finds the screen gone goes into the journal too.
  await page.fill('#txtVehicleSumInsured', '66000');
  await page.click('#shell-commands button:has-text("Calculate")');
  await textIs(page, '#shell-status', 'Reconnected — your unsaved changes were restored.');
  await shot(page, 'restored');
  const [sumInsured, totalNow] = await look(page, ['#txtVehicleSumInsured', '#lblTotalPremium']);
  assert.deepEqual([sumInsured, totalNow !== total], ['66,000.00', true]);
  assert.equal(await page.locator('#shell-pending').isVisible(), true);
  await page.click('#shell-commands button:has-text("Save")');
  await page.locator('#modal-dialog').waitFor({ state: 'visible' });
  const review = await page.locator('#tblReview tr').allTextContents();
  for (const amended of ['66,000.00', '2020']) assert.ok(review.some((row) => row.includes(amended)), review.join('\n'));
  await page.click('#cmdReviewSave');
  await page.locator('#message-box').waitFor({ state: 'visible' });
  assert.equal(await page.textContent('#message-text'), 'The cover note has been saved.');
  assert.deepEqual(errors, []);
});
