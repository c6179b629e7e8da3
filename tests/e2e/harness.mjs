// What the browser tests share: a server on a free loopback port, Debian's chromium at 1366x768
// with a profile of the run's own, and the administrator's steps at the screen.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { mkdirSync, mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';
import AxeBuilder from '@axe-core/playwright';

const here = path.dirname(fileURLToPath(import.meta.url));
export const covernoteBinary = process.env.COVERNOTE_BINARY ?? path.join(here, '../../build/release/src/app/covernote');
export const kServing = /serving on http:\/\/127\.0\.0\.1:(\d+)/;
// The sample's administrator logs in first with the demo password and must choose his own: the
// tests choose this one, once per database (choosePassword).
export const kDemoPassword = 'covernote';
export const kAdminPassword = 'violet harbour lantern 42 quietly';

// Makes the sample database at `database` (`covernote db init --sample`).
export const sampleDatabase = (database, env = process.env) =>
  execFileSync(covernoteBinary, ['db', 'init', '--sample', '--db', database], { env, stdio: 'ignore' });

// Logs in as `user` over HTTP, as the login page's script does, and chooses `chosen` in place of
// the password that must be changed; nothing when it was chosen before.
export async function choosePassword(base, user = 'admin', password = kDemoPassword, chosen = kAdminPassword) {
  const post = (path, form, cookie) => fetch(`${base}${path}`, {
    method: 'POST', redirect: 'manual',
    headers: { Accept: 'application/json', 'Content-Type': 'application/x-www-form-urlencoded', ...(cookie ? { Cookie: cookie } : {}) },
    body: new URLSearchParams(form) });
  const login = await post('/login', { user, password });
  if (login.status === 401) return;  // chosen before
  const answer = await login.json();
  assert.equal(answer.step, 'password', `the first login of ${user} asks for a password of his own`);
  const cookie = login.headers.getSetCookie().map((c) => c.split(';')[0]).join('; ');
  const chose = await post('/login/password', { password: chosen }, cookie);
  assert.equal(chose.status, 200, await chose.text());
}

// A screenshot into screenshots/ beside the tests, its name starting with `prefix`.
export function screenshots(prefix) {
  const dir = path.join(here, 'screenshots');
  mkdirSync(dir, { recursive: true });
  return (page, name) => page.screenshot({ path: path.join(dir, `${prefix}${name}.png`) });
}

// Starts `binary args` and resolves with the server process and its base address once its
// output matches `listening` (whose first group is the port).
export function startServer(binary, args, listening, env = process.env) {
  const server = spawn(binary, args, { env, stdio: ['ignore', 'pipe', 'inherit'] });
  return new Promise((resolve, reject) => {
    let seen = '';
    server.stdout.on('data', (chunk) => {
      seen += chunk;
      const match = listening.exec(seen);
      if (match) resolve({ server, base: `http://127.0.0.1:${Number(match[1])}` });
    });
    server.on('exit', (code) => reject(new Error(`${binary} stopped with ${code}`)));
  });
}

export const launchBrowser = (profileDir) => chromium.launchPersistentContext(profileDir, {
  executablePath: '/usr/bin/chromium', headless: true, viewport: { width: 1366, height: 768 },
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--no-first-run'] });

// The settings file and the data folder of the run's own, never the user's.
export const scratchEnv = (dir) =>
  ({ ...process.env, XDG_CONFIG_HOME: path.join(dir, 'config'), XDG_DATA_HOME: path.join(dir, 'data') });

// A scratch folder for the test file, removed with the browsers and servers it started. With
// `serve`, a server: `[binary, args, listening]`, or `covernote serve` on a freshly seeded
// database in the folder; with `browser`, a browser of the run's own (`run.context`).
export function scratchRun(prefix, { serve, browser } = {}) {
  const run = { contexts: [], processes: [] };
  run.profile = (name) => path.join(run.scratch, `chromium-${name}`);
  before(async () => {
    run.scratch = mkdtempSync(path.join(tmpdir(), `covernote-${prefix}-`));
    run.env = scratchEnv(run.scratch);
    const database = ['serve', '--port', '0', '--db', path.join(run.scratch, 'covernote.db')];
    if (serve === true) sampleDatabase(path.join(run.scratch, 'covernote.db'), run.env);
    if (serve) {
      const started = await startServer(...(serve === true ? [covernoteBinary, database, kServing, run.env] : serve));
      run.processes.push(started.server);
      run.base = started.base;
      if (serve === true) await choosePassword(run.base);
    }
    if (browser) run.contexts.push(run.context = await launchBrowser(run.profile(prefix)));
  });
  after(async () => {
    for (const context of run.contexts) await context.close();
    for (const child of run.processes) child.kill('SIGTERM');
    if (run.scratch) rmSync(run.scratch, { recursive: true, force: true });
  });
  return run;
}

export async function logIn(page, base, user, password) {
  await page.context().clearCookies();  // a logged-in browser would skip the login page
  await page.goto(`${base}/login.html`);
  await page.fill('#user', user);
  await page.fill('#password', password);
  await page.click('#login-form button[type=submit]');
}

// A new tab of `context` and the script errors and console errors it shows.
export async function watchedPage(context) {
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  page.on('console', (message) => {
    if (message.type() === 'error') errors.push(message.text());
  });
  return { page, errors };
}

// A test on a tab from `open` that must show no script or console error but those `allowed`.
export const pageTest = (name, open, body, allowed = /^$/) => test(name, async () => {
  const { page, errors } = await open();
  await body(page);
  assert.deepEqual(errors.filter((error) => !allowed.test(error)), []);
  await page.close();
});

// What the administrator sees in each element: whether a box is open, whether a command is
// offered, what a control holds, or else the text (a tab's caption).
export const look = (page, selectors) => Promise.all(selectors.map((selector) => page.locator(selector).evaluate((e) =>
  e.matches('dialog') ? e.open : e.matches('button:not([role=tab])') ? !e.disabled : e.matches('input, select, textarea') ? e.value : e.textContent)));
export const values = (page, selector) => page.locator(selector).evaluateAll((es) => es.map((e) => e.value));
// How many controls under `selector` the administrator could change (a locked one is drawn
// read-only, to be reached and read).
export const editable = (page, selector) => page.locator(`${selector} :is(input, select, textarea)`)
  .evaluateAll((es) => es.filter((e) => !e.matches(':disabled, [aria-readonly=true], [role=radiogroup][aria-readonly=true] *') &&
    !e.readOnly).length);
export const textIs = (page, selector, text) =>
  page.waitForFunction(([s, t]) => document.querySelector(s)?.textContent === t, [selector, text]);

export const command = (caption) => `#shell-commands button:has-text("${caption}")`;

// A tab page kept by the browser and brought up to date shows what the same page sent whole
// (after a reload) shows: every field's value and whether it can be changed.
export async function assertSameAsSentWhole(page) {
  const fields = () => page.locator('#shell-frame :is(input, select, textarea)').evaluateAll((es) =>
    es.map((e) => `${e.id}=${e.type === 'radio' || e.type === 'checkbox' ? e.checked : e.value}${e.readOnly ? ' locked' : ''}`));
  const kept = await fields();
  await page.reload();
  await page.waitForSelector('#shell-frame :is(input, select)');
  assert.deepEqual(await fields(), kept);
}

// Clicks the command and waits for the dialog it opens.
export async function openDialog(page, caption) {
  await page.click(command(caption));
  await page.locator('#modal-dialog').waitFor({ state: 'visible' });
}

// The message box once shown: its text, then its buttons.
export async function messageBox(page) {
  await page.locator('#message-box').waitFor({ state: 'visible' });
  return [await page.textContent('#message-text'), ...await page.locator('#message-buttons button').allTextContents()];
}

// An administrator in a browser of his own (own profile, own session cookie), with the
// cover note read when one is named.
export async function administrator({ base, profile, contexts }, number) {
  const context = await launchBrowser(profile);
  contexts.push(context);
  const page = await context.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(error.message));
  await logIn(page, base, 'admin', kAdminPassword);
  await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
  if (number) await readCoverNote(page, number);
  return { page, errors };
}

export const titleEndsWith = (page, number) =>
  page.waitForFunction((n) => document.querySelector('#shell-title').textContent.endsWith(` : ${n}`), number);

// Types the number over what the box holds as the administrator would (each key goes through
// the page's handler) and presses Enter.
export async function typeNumber(page, number) {
  await page.click('#shell-frame #txtCoverNoteNumber');
  await page.keyboard.press('Control+A');
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

// Save, then Save in the review: what the screen answers.
export async function saveReviewed(page) {
  await page.click(command('Save'));
  await page.click('#cmdReviewSave');
  return (await messageBox(page))[0];
}

// Two administrators with one cover note read amend it and save in turn: the second is refused
// by name and, with the cover note read again, sees the first one's amendment.
export async function racingSaves(first, second, shot) {
  await amendSumInsured(first.page, '90000');
  await amendSumInsured(second.page, '95000');
  assert.equal(await saveReviewed(first.page), 'The cover note has been saved.');
  assert.match(await saveReviewed(second.page),
    /^ADMIN saved this cover note at \d\d-[A-Z][a-z]{2}-\d{4} \d\d:\d\d:\d\d [AP]M, after you read it\./);
  await shot?.(second.page, 'refused');
  await second.page.keyboard.press('Enter');
  // Read again, the cover note is shown on the tab he saved from.
  await second.page.waitForFunction(() => document.querySelector('#shell-frame #txtVehicleSumInsured')?.value === '90,000.00');
  assert.deepEqual([...first.errors, ...second.errors], []);
}

// axe-core's rules over the page as shown (an open dialog with the screen behind it), or over
// the part `only` selects: none may fail, whatever its impact. The message names each rule and
// the elements it failed on.
export async function assertAccessible(page, what, only = null) {
  const builder = new AxeBuilder({ page });
  const { violations } = await (only ? builder.include(only) : builder).analyze();
  assert.deepEqual(violations.map((v) => `${v.impact} ${v.id}: ${v.nodes.map((n) => n.target.join(' ')).join(', ')}`), [], what);
}
