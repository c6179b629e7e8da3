// Steps of an administrator at the product's screen that several browser tests take.
import assert from 'node:assert/strict';
import { launchBrowser, logIn } from './harness.mjs';

export const command = (caption) => `#shell-commands button:has-text("${caption}")`;

// An administrator in a browser of his own (own profile, own session cookie), with the
// cover note read.
export async function administrator({ base, profile, contexts }, number) {
  const context = await launchBrowser(profile);
  contexts.push(context);
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await logIn(page, base, 'admin', 'covernote');
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  await readCoverNote(page, number);
  return { page, errors };
}

export const titleEndsWith = (page, number) =>
  page.waitForFunction((n) => document.querySelector('#shell-title').textContent.endsWith(` : ${n}`), number);

// Types the number as the administrator would (each key goes through the page's handler)
// and presses Enter.
export async function typeNumber(page, number) {
  await page.click('#txtCoverNoteNumber');
  await page.keyboard.type(number);
  await page.keyboard.press('Enter');
}

export async function readCoverNote(page, number) {
  await typeNumber(page, number);
  await titleEndsWith(page, number);
}

// Opens the tab with that caption and waits for an element of its page.
export async function openTab(page, caption, selector) {
  await page.click(`#shell-tabs [role=tab]:has-text("${caption}")`);
  await page.waitForSelector(`#shell-frame ${selector}`);
}

export async function amendSumInsured(page, amount) {
  await openTab(page, 'Premium', '#txtVehicleSumInsured');
  await page.fill('#txtVehicleSumInsured', amount);
  await page.press('#txtVehicleSumInsured', 'Tab');
  const before = await page.textContent('#lblTotalPremium');
  await page.click(command('Calculate'));
  // A referred risk is said so before its figures are shown.
  await page.waitForFunction((b) => document.querySelector('#message-box').open ||
    document.querySelector('#lblTotalPremium').textContent !== b, before);
  if (await page.locator('#message-box').isVisible()) {
    assert.equal(await page.textContent('#message-text'), 'This is a referred risk!');
    await page.keyboard.press('Enter');
    await page.waitForFunction((b) => document.querySelector('#lblTotalPremium').textContent !== b, before);
  }
}

export async function answerBox(page) {
  await page.locator('#message-box').waitFor({ state: 'visible' });
  return { text: await page.textContent('#message-text') };
}

