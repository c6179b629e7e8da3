// Two `covernote serve` behind HAProxy with cookie stickiness on one PostgreSQL database, as
// docs/deploy.md sets them up, used from two browsers: each lands on its own server, and the
// second administrator's save of a cover note the first saved since is refused by name. Then
// the server holding a screen mid-amendment is killed: the other accepts the login, rebuilds
// the screen from the tab's journal, and saves.
// Runs when scripts/test has a PostgreSQL cluster (COVERNOTE_TEST_POSTGRES) and HAProxy.
import { test, before } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawn, spawnSync } from 'node:child_process';
import { writeFileSync } from 'node:fs';
import { createServer } from 'node:net';
import path from 'node:path';
import { administrator, amendSumInsured, choosePassword, command, covernoteBinary as binary, kServing, racingSaves,
  saveReviewed, scratchEnv, scratchRun, startServer, textIs } from './harness.mjs';

const cluster = process.env.COVERNOTE_TEST_POSTGRES;
const haproxy = spawnSync('sh', ['-c', 'command -v haproxy']).status === 0;
const skip = !cluster ? 'no PostgreSQL cluster (COVERNOTE_TEST_POSTGRES)' : !haproxy ? 'haproxy is not installed' : false;
const run = scratchRun('scale');
let balancerUrl;

before(async () => {
  if (skip) return;
  const name = `cn_browsers_${process.pid}`;
  execFileSync('psql', [cluster, '-q', '-c', `CREATE DATABASE ${name}`]);
  const database = cluster.replace(/\/postgres\?/, `/${name}?`);
  execFileSync(binary, ['db', 'init', '--sample', '--db', database], { stdio: 'ignore' });
  const servers = [];
  for (const server of ['one', 'two']) {
    const started = await startServer(binary, ['serve', '--port', '0', '--db', database, '--server-name', server],
      kServing, scratchEnv(path.join(run.scratch, server)));
    run.processes.push(started.server);
    servers.push(`  server ${server} 127.0.0.1:${new URL(started.base).port} cookie ${server} check inter 500ms`);
  }
  // A port nobody holds now, for the balancer's front.
  const front = await new Promise((resolve) => {
    const probe = createServer().listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
  const config = path.join(run.scratch, 'haproxy.cfg');
  writeFileSync(config, ['defaults', '  mode http', '  timeout connect 2s', '  timeout client 60s', '  timeout server 60s',
    '  retries 2', '  option redispatch', 'frontend screen', `  bind 127.0.0.1:${front}`, '  default_backend servers', 'backend servers', '  balance roundrobin',
    '  cookie SERVERID insert indirect nocache httponly', '  option httpchk GET /healthz', ...servers, ''].join('\n'));
  const balancer = spawn('haproxy', ['-db', '-f', config], { stdio: ['ignore', 'ignore', 'pipe'] });
  let said = '';
  balancer.stderr.on('data', (chunk) => { said += chunk; });
  run.processes.push(balancer);
  balancerUrl = `http://127.0.0.1:${front}`;
  // On a busy machine the servers may take a while to pass the balancer's health checks.
  for (let i = 0; i < 150 && !(await fetch(`${balancerUrl}/healthz`).catch(() => null))?.ok; i += 1) {
    if (balancer.exitCode !== null) throw new Error(`haproxy stopped: ${said}`);
    await new Promise((resolve) => setTimeout(resolve, 200));
  }
  // The balancer's cookie keeps the login's steps on one server.
  await choosePassword(balancerUrl);
});

const at = (name) => ({ base: balancerUrl, profile: run.profile(name), contexts: run.contexts });
const serverOf = async ({ page }) => (await page.context().cookies(balancerUrl)).find((c) => c.name === 'SERVERID')?.value;

test('two browsers on two servers: the second save of one cover note is refused by name', { skip }, async () => {
  const first = await administrator(at('first'), 'CN24000102');
  const second = await administrator(at('second'), 'CN24000102');
  assert.deepEqual([await serverOf(first), await serverOf(second)].sort(), ['one', 'two']);
  await racingSaves(first, second);
});

test('the server holding a screen is killed mid-amendment: the other rebuilds it and saves', { skip }, async () => {
  const clerk = await administrator(at('failover'), 'CN24000101');
  await amendSumInsured(clerk.page, '57000');
  const holder = await serverOf(clerk);
  const stopped = run.processes[holder === 'one' ? 0 : 1];
  stopped.kill('SIGKILL');
  await new Promise((resolve) => stopped.once('exit', resolve));
  await clerk.page.fill('#txtVehicleSumInsured', '58000');
  await clerk.page.click(command('Calculate'));
  await textIs(clerk.page, '#shell-status', 'Reconnected — your unsaved changes were restored.');
  assert.notEqual(await serverOf(clerk), holder);
  assert.equal(await clerk.page.inputValue('#txtVehicleSumInsured'), '58,000.00');
  assert.equal(await saveReviewed(clerk.page), 'The cover note has been saved.');
  assert.deepEqual(clerk.errors, []);
});
