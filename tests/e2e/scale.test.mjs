// Two `covernote serve` behind HAProxy with cookie stickiness on one PostgreSQL database, as
// docs/deploy.md sets them up, used from two browsers: each lands on its own server, and the
// second administrator's save of a cover note the first saved since is refused by name.
// Runs when scripts/test has a PostgreSQL cluster (COVERNOTE_TEST_POSTGRES) and HAProxy.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawn, spawnSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { covernoteBinary as binary, scratchEnv, startServer } from './harness.mjs';
import { administrator, amendSumInsured, answerBox, command, openTab } from './screen_steps.mjs';

const cluster = process.env.COVERNOTE_TEST_POSTGRES;
const haproxy = spawnSync('sh', ['-c', 'command -v haproxy']).status === 0;
const skip = !cluster ? 'no PostgreSQL cluster (COVERNOTE_TEST_POSTGRES)' : !haproxy ? 'haproxy is not installed' : false;

let scratch;
let balancerUrl;
const processes = [];
const contexts = [];

before(async () => {
  if (skip) return;
  scratch = mkdtempSync(path.join(tmpdir(), 'covernote-scale-'));
  const name = `cn_browsers_${process.pid}`;
  execFileSync('psql', [cluster, '-q', '-c', `CREATE DATABASE ${name}`]);
  const database = cluster.replace(/\/postgres\?/, `/${name}?`);
  execFileSync(binary, ['db', 'init', '--db', database], { stdio: 'ignore' });
  const ports = [];
  for (const server of ['one', 'two']) {
    const started = await startServer(binary, ['serve', '--port', '0', '--db', database, '--server-name', server],
      /serving on http:\/\/127\.0\.0\.1:(\d+)/, scratchEnv(path.join(scratch, server)));
    processes.push(started.server);
    ports.push(new URL(started.base).port);
  }
  const front = 20000 + (process.pid % 20000);
  const config = path.join(scratch, 'haproxy.cfg');
  writeFileSync(config, [
    'defaults', '  mode http', '  timeout connect 2s', '  timeout client 60s', '  timeout server 60s',
    'frontend screen', `  bind 127.0.0.1:${front}`, '  default_backend servers',
    'backend servers', '  balance roundrobin', '  cookie SERVERID insert indirect nocache httponly',
    '  option httpchk GET /healthz',
    `  server one 127.0.0.1:${ports[0]} cookie one check inter 500ms`,
    `  server two 127.0.0.1:${ports[1]} cookie two check inter 500ms`, ''].join('\n'));
  processes.push(spawn('haproxy', ['-db', '-f', config], { stdio: 'ignore' }));
  balancerUrl = `http://127.0.0.1:${front}`;
  for (let i = 0; i < 50; i += 1) {
    const answer = await fetch(`${balancerUrl}/healthz`).catch(() => null);
    if (answer?.ok) break;
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
});

after(async () => {
  for (const context of contexts) await context.close();
  for (const child of processes) child.kill('SIGTERM');
  if (scratch) rmSync(scratch, { recursive: true, force: true });
});

async function serverOf(page) {
  const cookies = await page.context().cookies(balancerUrl);
  return cookies.find((cookie) => cookie.name === 'SERVERID')?.value;
}

test('two browsers on two servers: the second save of one cover note is refused by name', { skip }, async () => {
  const at = (name) => ({ base: balancerUrl, profile: path.join(scratch, `chromium-${name}`), contexts });
  const first = await administrator(at('first'), 'CN24000101');
  const second = await administrator(at('second'), 'CN24000101');
  const servers = [await serverOf(first.page), await serverOf(second.page)];
  assert.deepEqual([...servers].sort(), ['one', 'two']);

  await amendSumInsured(first.page, '60000');
  await amendSumInsured(second.page, '65000');
  await first.page.click(command('Save'));
  await first.page.click('#cmdReviewSave');
  assert.equal((await answerBox(first.page)).text, 'The cover note has been saved.');
  await second.page.click(command('Save'));
  await second.page.click('#cmdReviewSave');
  assert.match((await answerBox(second.page)).text, /^ADMIN saved this cover note at .*, after you read it\./);
  // Reading it again on the other server shows the first administrator's amendment.
  await second.page.keyboard.press('Enter');
  await openTab(second.page, 'Premium', '#txtVehicleSumInsured');
  assert.equal(await second.page.inputValue('#txtVehicleSumInsured'), '60,000.00');
  assert.deepEqual([...first.errors, ...second.errors], []);
});
