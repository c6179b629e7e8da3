// What both browser test files need: a server started on a free loopback port, and Debian's
// chromium at 1366x768 with a profile of the run's own.
import { spawn } from 'node:child_process';
import { chromium } from 'playwright-core';

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
