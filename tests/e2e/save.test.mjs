// Saving an amendment in Debian's chromium, on a server of its own over a freshly seeded
// database: the review before the write, the saved cover note read again, its history, and
// two administrators amending the same cover note.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { writeFileSync } from 'node:fs';
import path from 'node:path';
import { administrator, amendSumInsured, assertSameAsSentWhole, look, messageBox, openDialog, openTab, racingSaves,
  screenshots, scratchRun, titleEndsWith } from './harness.mjs';

const shot = screenshots('save-');
const run = scratchRun('save', { serve: true });
const open = (name, number) => administrator({ base: run.base, profile: run.profile(name), contexts: run.contexts }, number);
const cells = (page, table, hasText) => page.locator(`${table} tr`, { hasText }).locator('td').allTextContents();

// The administrator's daily road, by keyboard alone and counted: read the cover note, open its
// premium, type the sum insured over the one shown, calculate, save, confirm, and see the history.
test('read, amend, calculate, save and see the history: 22 keys at most, the review and the history as written', async () => {
  const { page, errors } = await open('first');
  let keys = 0;
  const press = async (key) => { keys += 1; await page.keyboard.press(key); };
  const type = async (text) => { keys += [...text].length; await page.keyboard.type(text); };
  const focused = (id) => page.waitForFunction((i) => document.activeElement?.id === i, id);

  await focused('txtCoverNoteNumber');
  await type('CN24000101');
  await press('Enter');
  await titleEndsWith(page, 'CN24000101');
  await press('Alt+4');
  await focused('txtVehicleSumInsured');  // selected whole: typing replaces it
  const total = await page.textContent('#lblTotalPremium');
  await type('60000');
  await press('Alt+C');
  await page.waitForFunction((t) => document.querySelector('#lblTotalPremium').textContent !== t, total);
  await press('Alt+S');
  await page.locator('#modal-dialog').waitFor({ state: 'visible' });
  assert.deepEqual(await cells(page, '#tblReview', 'Vehicle sum insured'),
    ['Vehicle sum insured', '48,000.00', '60,000.00', '+12,000.00']);
  await shot(page, 'review-1366x768');
  await page.setViewportSize({ width: 1920, height: 1080 });
  await shot(page, 'review-1920x1080');
  await page.setViewportSize({ width: 1366, height: 768 });
  await press('Enter');
  assert.deepEqual(await messageBox(page), ['The cover note has been saved.', 'OK']);
  const saved = await page.textContent('#lblTotalPremium');
  await press('Enter');
  // Read again, the cover note is shown on the Premium tab, where he was.
  await page.waitForFunction(() => document.querySelector('#shell-tabs [aria-selected=true]').textContent === 'Premium' &&
    !document.querySelector('#message-box').open);
  await focused('txtVehicleSumInsured');
  assert.deepEqual(await look(page, ['#txtVehicleSumInsured', '#lblTotalPremium']), ['60,000.00', saved]);
  await press('Alt+H');
  await page.locator('#modal-dialog').waitFor({ state: 'visible' });
  assert.deepEqual((await cells(page, '#tblHistory', 'Vehicle sum insured')).slice(2),
    ['Vehicle sum insured', '48,000.00', '60,000.00', '']);
  assert.match(await page.textContent('#lblHistoryNotice'), /^1 saved amendment/);
  await shot(page, 'history');
  assert.ok(keys <= 22, `${keys} keys`);
  await page.keyboard.press('Escape');
  await page.locator('#modal-dialog').waitFor({ state: 'hidden' });
  await assertSameAsSentWhole(page);  // the Premium tab kept while the Cover tab read it again
  assert.deepEqual(errors, []);
});

// The PDF as the browser got it, kept beside the screenshots and drawn as a PNG to be looked at.
function keepPdf(name, body) {
  const dir = path.join(path.dirname(new URL(import.meta.url).pathname), 'screenshots');
  const file = path.join(dir, `save-${name}.pdf`);
  writeFileSync(file, body);
  execFileSync('pdftoppm', ['-png', '-r', '80', '-singlefile', file, file.replace(/\.pdf$/, '')]);
}

test('a save makes an endorsement that the saved message and the history open, as a PDF or a print view', async () => {
  const { page, errors } = await open('endorser', 'CN24000109');
  await amendSumInsured(page, '70000');
  await openDialog(page, 'Save');
  await page.click('#cmdReviewSave');
  assert.deepEqual(await messageBox(page), ['The cover note has been saved.', 'OK']);
  const offered = page.locator('#message-offer a');
  assert.deepEqual(await offered.allTextContents(), ['Open the endorsement', 'print view']);
  assert.deepEqual(await offered.evaluateAll((links) => links.map((a) => [a.getAttribute('href'), a.target])),
    [['/endorsement/CN24000109/E2', '_blank'], ['/endorsement/CN24000109/E2/print', '_blank']]);
  await shot(page, 'saved-offers-endorsement');

  // The link opens the PDF in a tab of its own, inline, as the session's.
  const [tab] = await Promise.all([page.context().waitForEvent('page'), offered.first().click()]);
  await tab.waitForLoadState();
  await tab.waitForTimeout(2000);  // the browser's PDF viewer draws after the load; only for the picture
  await shot(tab, 'endorsement-tab');
  await tab.close();
  const pdf = await page.request.get(`${run.base}/endorsement/CN24000109/E2`);
  assert.equal(pdf.status(), 200);
  assert.equal(pdf.headers()['content-type'], 'application/pdf');
  assert.equal(pdf.headers()['content-disposition'], 'inline; filename="CN24000109-E2.pdf"');
  const body = await pdf.body();
  assert.equal(body.subarray(0, 5).toString(), '%PDF-');
  keepPdf('endorsement', body);

  // The box goes with OK, and the history names the endorsement with the same links.
  await page.click('#message-buttons button');
  await titleEndsWith(page, 'CN24000109');
  await openDialog(page, 'History');
  const listed = page.locator('#tblHistory .endorsement-links a');
  assert.deepEqual(await listed.allTextContents(), ['CN24000109/E2', 'print view']);
  await shot(page, 'history-endorsement');
  const [print] = await Promise.all([page.context().waitForEvent('page'), listed.last().click()]);
  const printErrors = [];
  print.on('console', (message) => { if (message.type() === 'error') printErrors.push(message.text()); });
  await print.waitForSelector('.statement');
  assert.match(await print.textContent('.statement'), /^Additional premium to be paid: [\d,]+\.\d\d$/);
  assert.equal(await print.textContent('.reference'), 'CN24000109/E2');
  assert.deepEqual((await print.locator('table.ruled tr', { hasText: 'Vehicle sum insured' }).first()
    .locator('td').allTextContents()).slice(0, 1).concat((await print.locator('table.ruled tr',
    { hasText: 'Vehicle sum insured' }).first().locator('td').allTextContents()).slice(-1)),
  ['Vehicle sum insured', '70,000.00']);
  await shot(print, 'print-view');
  await print.emulateMedia({ media: 'print' });
  assert.equal(await print.locator('.print-bar').isVisible(), false);
  await print.close();
  await page.click('#cmdHistoryClose');
  assert.deepEqual([...errors, ...printErrors], []);
});

test('of two administrators amending one cover note, the second is refused and told who saved', async () => {
  await racingSaves(await open('one', 'CN24000102'), await open('two', 'CN24000102'), shot);
});

test('Enter pressed eight times after Save writes one amendment, and an unchanged note nothing', async () => {
  const { page, errors } = await open('keys', 'CN24000116');
  // Nothing changed: the review says so and only closes.
  await openDialog(page, 'Save');
  assert.match(await page.textContent('#lblReviewNotice'), /^Nothing differs/);
  assert.deepEqual(await page.locator('#modal-dialog button:visible').allTextContents(), ['Close']);
  await shot(page, 'review-nothing-differs');
  await page.keyboard.press('Enter');
  await page.locator('#modal-dialog').waitFor({ state: 'hidden' });

  await amendSumInsured(page, '50000');
  await openDialog(page, 'Save');
  for (let i = 0; i < 8; i += 1) await page.keyboard.press('Enter');
  // Whatever the keys left open is answered as a person would, until the screen is quiet.
  const anyOpen = () => page.evaluate(() => ['#message-box', '#modal-dialog'].some((id) => document.querySelector(id).open));
  for (let quiet = 0; quiet < 4;) {
    await page.waitForTimeout(400);
    if (!await anyOpen()) { quiet += 1; continue; }
    quiet = 0;
    await page.keyboard.press(await page.locator('#message-box').isVisible() ? 'Enter' : 'Escape');
  }
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
  const typed = await page.inputValue('#txtGrossPremium');
  await openDialog(page, 'Save');
  assert.deepEqual(await page.locator('#tblReview td:first-child').allTextContents(),
    ['Gross premium', 'Gross premium for commission', 'Commission', 'Premium less commission']);
  await shot(page, 'review-other-premium');
  // Cancel writes nothing and leaves the amendment on the screen.
  await page.keyboard.press('Escape');
  await page.locator('#modal-dialog').waitFor({ state: 'hidden' });
  assert.equal(await page.inputValue('#txtGrossPremium'), typed);
  assert.deepEqual(errors, []);
});
