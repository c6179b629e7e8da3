// axe-core over what the administrator sees: the login page and its password step, every tab of a personal and of a
// company cover note, and every dialog of the screen, each without a single violation. A new
// dialog is one more row of kDialogs: how to open it on the screen and how to close it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import path from 'node:path';
import { amendSumInsured, assertAccessible, command, covernoteBinary, kAdminPassword, logIn, messageBox, openDialog,
  openTab, readCoverNote, scratchRun, textIs, watchedPage } from './harness.mjs';

const run = scratchRun('accessible', { serve: true, browser: true });
const dialogShown = (page, id) => page.locator(`#${id}`).waitFor({ state: 'visible' });
const dialogGone = (page, id) => page.locator(`#${id}`).waitFor({ state: 'hidden' });

async function screen() {
  const watched = await watchedPage(run.context);
  await logIn(watched.page, run.base, 'admin', kAdminPassword);
  await watched.page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  return watched;
}

test('the login page and the empty screen', async () => {
  const { page, errors } = await watchedPage(run.context);
  await page.goto(`${run.base}/login.html`);
  await assertAccessible(page, 'login');
  // A user whose password was set for him chooses his own first.
  execFileSync(covernoteBinary, ['user', 'add', 'clerk', '--agent', 'HQ001', '--password-stdin', '--db',
    path.join(run.scratch, 'covernote.db')], { env: run.env, input: 'given by the office 2026 kettle\n' });
  await logIn(page, run.base, 'clerk', 'given by the office 2026 kettle');
  await page.locator('#password-form').waitFor({ state: 'visible' });
  await assertAccessible(page, 'choose your own password');
  await page.goto(`${run.base}/login.html`);
  await logIn(page, run.base, 'admin', kAdminPassword);
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  await assertAccessible(page, 'empty screen');
  assert.deepEqual(errors, []);
  await page.close();
});

test('every tab of a personal and of a company cover note, amendable and read-only', async () => {
  const { page, errors } = await screen();
  for (const number of ['CN24000101', 'CN24000102', 'CN24000103']) {
    await openTab(page, 'Cover', '#txtCoverNoteNumber');
    await readCoverNote(page, number);
    for (const tab of await page.locator('#shell-tabs [role=tab]').allTextContents()) {
      await page.click(`#shell-tabs [role=tab]:has-text("${tab}")`);
      await page.waitForFunction((t) => document.querySelector('#shell-tabs [aria-selected=true]')?.textContent === t &&
        !document.querySelector('#shell-frame .tab-page[inert]'), tab);
      await assertAccessible(page, `${number} ${tab}`);
    }
  }
  assert.deepEqual(errors, []);
  await page.close();
});

// Each dialog on CN24000101 read on the Cover tab: opened, checked, closed. The save comes last.
const kDialogs = [
  ['a question (Reset)', async (page) => { await page.click(command('Reset')); await dialogShown(page, 'message-box'); },
    async (page) => { await page.click('#message-buttons button:has-text("Cancel")'); await dialogGone(page, 'message-box'); }],
  ['the sessions', async (page) => { await page.click('#shell-sessions'); await page.locator('#sessions-list li').first().waitFor(); },
    async (page) => { await page.click('#sessions-close'); await dialogGone(page, 'sessions-dialog'); }],
  ['the password change', async (page) => { await page.click('#shell-password'); await dialogShown(page, 'password-dialog'); },
    async (page) => { await page.click('#password-close'); await dialogGone(page, 'password-dialog'); }],
  ['the two-step login with its QR code', async (page) => {
    await page.click('#shell-mfa');
    await dialogShown(page, 'mfa-dialog');
    await page.click('#mfa-begin');
    await page.locator('#mfa-code').waitFor({ state: 'visible' });
  }, async (page) => { await page.click('#mfa-close'); await dialogGone(page, 'mfa-dialog'); }],
  ['the enquiry with its results', async (page) => {
    await openDialog(page, 'Enquiry');
    await page.fill('#txtEnqText', 'CN2400010');
    await page.keyboard.press('Enter');
    await page.locator('#tblEnqList tbody tr').first().waitFor();
  }, async (page) => { await page.keyboard.press('Escape'); await dialogGone(page, 'modal-dialog'); }],
  ['the history', (page) => openDialog(page, 'History'),
    async (page) => { await page.click('#cmdHistoryClose'); await dialogGone(page, 'modal-dialog'); }],
  ['the review of nothing changed', (page) => openDialog(page, 'Save'),
    async (page) => { await page.keyboard.press('Enter'); await dialogGone(page, 'modal-dialog'); }],
  ['the review of an amendment', async (page) => { await amendSumInsured(page, '52000'); await openDialog(page, 'Save'); },
    async (page) => { await page.keyboard.press('Escape'); await dialogGone(page, 'modal-dialog'); }],
  ['the saved message with its endorsement', async (page) => {
    await openDialog(page, 'Save');
    await page.click('#cmdReviewSave');
    assert.equal((await messageBox(page))[0], 'The cover note has been saved.');
  }, async (page) => { await page.keyboard.press('Enter'); await dialogGone(page, 'message-box'); }],
];

test('every dialog of the screen', async () => {
  const { page, errors } = await screen();
  await readCoverNote(page, 'CN24000101');
  for (const [name, open, close] of kDialogs) {
    await open(page);
    await assertAccessible(page, name);
    await close(page);
  }
  await textIs(page, '#shell-title', 'Cover Note Amendment - Administrator : CN24000101');
  assert.deepEqual(errors, []);
  await page.close();
});
