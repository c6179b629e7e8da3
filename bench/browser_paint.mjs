// How long the administrator waits in the browser: from the Enter in the cover-note number box
// to the note read being painted, and from a tab click to that tab painted. Both are timed in
// the page: from the input event's time stamp to the frame after the DOM shows the result (a
// requestAnimationFrame, then a task, so the frame has been handed to the compositor).
//
// `covernote serve` runs on a database and settings of the run's own in a scratch folder
// (removed at the end), and Debian's chromium logs in as the demo administrator.
//   COVERNOTE_BINARY=build/release/src/app/covernote node bench/browser_paint.mjs [--runs=20]
// bench/browser-paint finds the binary and runs this.
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { choosePassword, kAdminPassword, launchBrowser, sampleDatabase, startServer } from '../tests/e2e/harness.mjs';

const binary = process.env.COVERNOTE_BINARY;
const runs = Number(process.argv.find((arg) => arg.startsWith('--runs='))?.slice(7) ?? 20);
const kWarmup = 2;  // the first of each pays for pages parsed and caches filled

// The notes read in turn, and what each shows once painted.
const kNotes = [{ number: 'CN24000101', vehicle: 'WQK 4521' }, { number: 'CN24000103', vehicle: 'VFD 88' }];
// The tabs clicked in turn after the read of the first note, and an element whose value shows
// the tab painted (any value when null).
const kTabs = [{ tab: 'Vehicle', id: 'txtEngineNumber', value: null },
  { tab: 'Cover', id: 'txtCoverNoteNumber', value: kNotes[0].number }];

// Arms a watch in the page: the next `trigger` event starts the clock, and the first frame after
// the element `id` of the shown tab is visible with `value` (any value when null), under a title
// ending in `title` when given, stops it. The promise is left in window.paintTimed.
function arm(page, trigger, { id, value, title = null }) {
  return page.evaluate(({ trigger, id, value, title }) => {
    const painted = () => {
      const element = document.querySelector(`#shell-frame #${id}`);
      if (!element || element.getClientRects().length === 0) return false;
      if (title && !document.querySelector('#shell-title').textContent.endsWith(` : ${title}`)) return false;
      return value === null ? element.value !== '' : element.value === value;
    };
    window.paintTimed = new Promise((resolve, reject) => {
      let start = null;
      let settled = false;
      const check = () => {
        if (settled || start === null || !painted()) return;
        settled = true;
        observer.disconnect();
        requestAnimationFrame(() => setTimeout(() => resolve(performance.now() - start)));
      };
      const observer = new MutationObserver(check);
      observer.observe(document.body, { subtree: true, childList: true, attributes: true, characterData: true });
      document.addEventListener(trigger, (event) => { start = event.timeStamp; check(); }, { capture: true, once: true });
      // Values set by script change no attribute: look again at every frame as well.
      const poll = () => { check(); if (!settled) requestAnimationFrame(poll); };
      requestAnimationFrame(poll);
      setTimeout(() => { if (!settled) reject(new Error('not painted within 10 s')); }, 10000);
    });
  }, { trigger, id, value, title });
}

async function timeRead(page, note) {
  await page.click('#txtCoverNoteNumber');
  await page.keyboard.press('Control+A');
  await page.keyboard.type(note.number);
  await arm(page, 'keydown', { id: 'txtVehicleNumber', value: note.vehicle, title: note.number });
  await page.keyboard.press('Enter');
  return page.evaluate(() => window.paintTimed);
}

async function timeTab(page, { tab, id, value }) {
  await arm(page, 'click', { id, value });
  await page.click(`#shell-tabs [role=tab]:has-text("${tab}")`);
  return page.evaluate(() => window.paintTimed);
}

function percentile(values, p) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length, Math.max(1, Math.ceil((p / 100) * sorted.length))) - 1];
}

async function measure(what, once) {
  const times = [];
  for (let i = 0; i < kWarmup + runs; ++i) {
    const ms = await once(i);
    if (i >= kWarmup) times.push(ms);
  }
  console.log(`${what.padEnd(40)} median ${percentile(times, 50).toFixed(1).padStart(6)} ms  ` +
    `p90 ${percentile(times, 90).toFixed(1).padStart(6)} ms  (${runs} runs)`);
}

async function main() {
  if (!binary) throw new Error('COVERNOTE_BINARY names the covernote program');
  const scratch = mkdtempSync(path.join(tmpdir(), 'covernote-paint-'));
  // The settings file and the data folder of the run's own, never the user's.
  const env = { ...process.env, XDG_CONFIG_HOME: path.join(scratch, 'config'), XDG_DATA_HOME: path.join(scratch, 'data') };
  let server;
  let context;
  try {
    sampleDatabase(path.join(scratch, 'covernote.db'), env);
    const started = await startServer(binary, ['serve', '--port', '0', '--db', path.join(scratch, 'covernote.db')],
      /serving on http:\/\/127\.0\.0\.1:(\d+)/, env);
    server = started.server;
    await choosePassword(started.base);
    context = await launchBrowser(path.join(scratch, 'chromium'));
    const page = await context.newPage();
    await page.goto(`${started.base}/login.html`);
    await page.fill('#user', 'admin');
    await page.fill('#password', kAdminPassword);
    await page.click('#login-form button[type=submit]');
    await page.waitForSelector('#shell-frame #txtCoverNoteNumber');
    console.log(`browser paint: covernote serve on a scratch database, chromium ${context.browser()?.version() ?? ''}`);
    await measure('Enter in the number box -> note painted', (i) => timeRead(page, kNotes[i % kNotes.length]));
    await timeRead(page, kNotes[0]);
    await measure('tab click -> tab painted', (i) => timeTab(page, kTabs[i % kTabs.length]));
  } finally {
    await context?.close();
    server?.kill('SIGTERM');
    rmSync(scratch, { recursive: true, force: true });
  }
}

await main();
