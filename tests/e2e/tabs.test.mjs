// One screen per browser tab, changes not saved shown and asked about before they are lost,
// and an ended session told to the tabs still open; on a server of its own over a freshly
// seeded database.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { administrator, amendSumInsured, command, messageBox, openTab, readCoverNote, saveReviewed, screenshots,
  scratchRun, titleEndsWith, typeNumber } from './harness.mjs';

const shot = screenshots('tabs-');
const run = scratchRun('tabs', { serve: true });
const pending = (page) => page.locator('#shell-pending').isVisible();
const status = (page) => page.textContent('#shell-status');

async function secondTab(page) {
  const tab = await page.context().newPage();
  await tab.goto(`${run.base}/app.html`);
  await tab.waitForSelector('#shell-frame #txtCoverNoteNumber');
  return tab;
}

async function saveAndClose(page) {
  assert.equal(await saveReviewed(page), 'The cover note has been saved.');
  await page.keyboard.press('Enter');
  await page.waitForFunction(() => /^Saved at \d\d:\d\d — amendment \d+$/.test(document.querySelector('#shell-status').textContent));
}

test('two tabs amend two cover notes and save each; a logout in one is told in the other', async () => {
  const { page: first, errors } = await administrator({ base: run.base, profile: run.profile('two'), contexts: run.contexts }, 'CN24000101');
  const second = await secondTab(first);
  await readCoverNote(second, 'CN24000102');
  assert.equal(await pending(first), false);
  await amendSumInsured(first, '68000');
  await amendSumInsured(second, '61000');
  assert.deepEqual([await pending(first), await pending(second)], [true, true]);
  await shot(first, 'pending');
  await saveAndClose(first);
  assert.match(await first.textContent('#shell-title'), / : CN24000101$/);
  assert.deepEqual([await first.inputValue('#txtVehicleSumInsured'), await pending(first)], ['68,000.00', false]);
  await shot(first, 'saved');
  // The other tab's screen is its own: its note and its amendment, saved in turn.
  assert.match(await second.textContent('#shell-title'), / : CN24000102$/);
  await saveAndClose(second);
  assert.equal(await second.inputValue('#txtVehicleSumInsured'), '61,000.00');

  await second.click('#shell-logout');  // nothing pending: nothing asked
  await second.waitForURL(/login\.html/);
  await first.click(command('Enquiry'));
  await first.waitForURL(/login\.html/);
  assert.equal(await first.textContent('#login-ended'), 'You have logged out in another window.');
  await shot(first, 'told');
  assert.deepEqual(errors, []);
});

test('reading another note, logging out and leaving the page ask only while changes are pending', async () => {
  const { page, errors } = await administrator({ base: run.base, profile: run.profile('guards'), contexts: run.contexts }, 'CN24000101');
  const asked = [];
  page.on('dialog', (dialog) => {
    asked.push(dialog.type());
    dialog.dismiss();
  });
  await typeNumber(page, 'CN24000102');  // nothing pending: read at once
  await titleEndsWith(page, 'CN24000102');
  const leaveAsks = () => page.evaluate(() => !window.dispatchEvent(new Event('beforeunload', { cancelable: true })));
  assert.equal(await leaveAsks(), false);

  await amendSumInsured(page, '59000');
  await openTab(page, 'Cover', '#txtCoverNoteNumber');
  await typeNumber(page, 'CN24000101');
  assert.deepEqual(await messageBox(page), [
    'The cover note CN24000102 has changes that are not saved.\r\nDiscard them and read CN24000101?', 'OK', 'Cancel']);
  await shot(page, 'read-asks');
  await page.click('#message-buttons button:has-text("Cancel")');
  await page.locator('#message-box').waitFor({ state: 'hidden' });
  assert.match(await page.textContent('#shell-title'), / : CN24000102$/);
  assert.equal(await page.inputValue('#txtCoverNoteNumber'), 'CN24000102');

  await page.click('#shell-logout');
  assert.deepEqual(await messageBox(page), ['The cover note has changes that are not saved. Log out and discard them?', 'OK', 'Cancel']);
  await page.click('#message-buttons button:has-text("Cancel")');
  assert.equal(page.url().endsWith('/app.html'), true);
  // The browser's own question on leaving: asked now, and not before the amendment.
  assert.equal(await leaveAsks(), true);

  await typeNumber(page, 'CN24000101');
  await page.click('#message-buttons button:has-text("OK")');
  await titleEndsWith(page, 'CN24000101');
  assert.deepEqual([await pending(page), await status(page) !== ''], [false, true]);
  await page.click('#shell-logout');
  await page.waitForURL(/login\.html/);
  assert.deepEqual([asked, errors], [[], []]);
});
