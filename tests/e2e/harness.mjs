// What both browser test files need: a server started on a free loopback port, and Debian's
// chromium at 1366x768 with a profile of the run's own.
import { spawn } from 'node:child_process';
import { mkdirSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { chromium } from 'playwright-core';

const here = path.dirname(fileURLToPath(import.meta.url));
export const covernoteBinary = process.env.COVERNOTE_BINARY ?? path.join(here, '../../build/release/src/app/covernote');

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

export function launchBrowser(profileDir) {
  return chromium.launchPersistentContext(profileDir, {
    executablePath: '/usr/bin/chromium',
    headless: true,
    viewport: { width: 1366, height: 768 },
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run'],
  });
}

// The settings file and the data folder of the run's own, never the user's.
export const scratchEnv = (dir) =>
  ({ ...process.env, XDG_CONFIG_HOME: path.join(dir, 'config'), XDG_DATA_HOME: path.join(dir, 'data') });

export async function logIn(page, base, user, password) {
  await page.context().clearCookies();  // a logged-in browser would skip the login page
  await page.goto(`${base}/login.html`);
  await page.fill('#user', user);
  await page.fill('#password', password);
  await page.click('button[type=submit]');
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
