// The live viewer in a real browser: `scenario-compiler serve` on the exported
// carried scenario, its page in Debian's headless Chromium. Each step leaves a
// screenshot in the artifacts folder. Usage:
//   node viewer_test.mjs [PATH/TO/scenario-compiler]   (default: ../../build/scenario-compiler)
// CHROMIUM names another browser binary, ARTIFACTS another folder.
import { spawn, execFileSync } from 'node:child_process';
import { mkdtempSync, mkdirSync, readFileSync, writeFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

const here = dirname(fileURLToPath(import.meta.url));
const exe = resolve(process.argv[2] || join(here, '../../build/scenario-compiler'));
const chromium = process.env.CHROMIUM || '/usr/lib/chromium/chromium';
const artifacts = resolve(process.env.ARTIFACTS || join(here, 'artifacts'));
const ROUTE = 'Lidonia_Sabrio_linea.txt', TRAIN = 'Lidonia_Sabrio_914-.txt';
// The second signal moved into the first one's cell: error 16 on line 79.
const SECOND = 'segnale,    4450,   2, 4, 1,', MOVED = 'segnale,    1650,   2, 4, 1,';

let passed = 0, failed = 0;
function check(what, ok, detail = '') {
  if (ok) passed++; else failed++;
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}${ok || !detail ? '' : ` (${detail})`}`);
}

const work = mkdtempSync(join(tmpdir(), 'viewer-test-'));
mkdirSync(artifacts, { recursive: true });
execFileSync(exe, ['export', work]);
const trainPath = join(work, TRAIN);
const original = readFileSync(trainPath);
const stations = original.toString('latin1').split('\r\n').filter((l) => l.startsWith('stazione'))
  .map((l) => l.slice(l.lastIndexOf(',') + 2));

const server = spawn(exe, ['serve', ROUTE, TRAIN, '--port', '0'], { cwd: work, stdio: ['ignore', 'pipe', 'pipe'] });
let serverLog = '';
server.stderr.on('data', (d) => { serverLog += d; });
const url = await new Promise((ok, fail) => {
  let out = '';
  server.stdout.on('data', (d) => {
    out += d;
    const m = out.match(/^(http:\/\/127\.0\.0\.1:\d+\/)\n/);
    if (m) ok(m[1]);
  });
  server.on('exit', (code) => fail(new Error(`serve ended with ${code}: ${serverLog}`)));
  setTimeout(() => fail(new Error('serve printed no address in 20 s')), 20000);
});

const profile = join(work, 'profile');
const browser = await puppeteer.launch({
  executablePath: chromium, headless: true, userDataDir: profile,
  args: ['--no-sandbox', '--disable-gpu', '--no-first-run'],
});
const consoleErrors = [];
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1400, height: 900 });
  page.on('console', (m) => { if (m.type() === 'error') consoleErrors.push(m.text()); });
  page.on('pageerror', (e) => consoleErrors.push(String(e)));
  const shot = (name) => page.screenshot({ path: join(artifacts, name) });
  const viewBox = () => page.$eval('#sheet svg', (s) => s.getAttribute('viewBox').split(' ').map(Number));
  const within = (ms, fn, ...args) => page.waitForFunction(fn, { timeout: ms, polling: 50 }, ...args)
    .then(() => true, () => false);

  await page.goto(url);
  check('the first compile shows ok', await within(10000, () => document.querySelector('#status.ok')));
  const shown = await page.$$eval('#sheet g[data-kind="station"]', (gs) => gs.map((g) => g.textContent.trim()));
  const missing = stations.filter((s) => !shown.includes(s));
  check('the 35 stations are drawn by name', stations.length === 35 && missing.length === 0,
    `${stations.length} in the file, missing: ${missing.join(', ')}`);
  await shot('1-loaded.png');

  const before = await viewBox();
  const box = await page.$eval('#sheet', (e) => { const r = e.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; });
  await page.mouse.move(box[0] + box[2] / 2, box[1] + box[3] * 0.6);
  for (let i = 0; i < 3; i++) await page.mouse.wheel({ deltaY: -300 });
  const zoomed = await viewBox();
  check('the wheel zooms in', zoomed[2] < before[2] / 2, `${before} -> ${zoomed}`);
  await shot('2-zoomed.png');

  const started = Date.now();
  writeFileSync(trainPath, original.toString('latin1').replace(SECOND, MOVED), 'latin1');
  const errorShown = await within(2000, () => document.querySelector('#status.error') &&
    document.querySelector('#diagnostics li[data-code="E16"][data-line="79"]'));
  check('the edit shows error 16 on line 79 within 2 s', errorShown, `${Date.now() - started} ms`);
  check('the zoom outlives the new drawing', (await viewBox())[2] === zoomed[2]);
  await shot('3-error.png');
  await page.click('#diagnostics li[data-code="E16"]');
  await shot('4-error-centred.png');

  writeFileSync(trainPath, original);
  check('restoring the file clears it within 2 s', await within(2000, () => document.querySelector('#status.ok') &&
    !document.querySelector('#diagnostics li.error')));
  await shot('5-restored.png');

  await page.click('#fit');
  const station = stations[10];
  await page.type('#jump-to', station);
  await page.keyboard.press('Enter');
  const picked = await page.$eval('#sheet g.picked', (g) => g.textContent.trim()).catch(() => null);
  check(`the jump to ${station} picks it and zooms`, picked === station && (await viewBox())[2] < before[2]);
  const centre = await page.$eval('#sheet g.picked', (g) => { const r = g.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; });
  await page.mouse.move(centre[0], centre[1]);
  const tip = await page.$eval('#tip', (t) => (t.hidden ? '' : t.textContent));
  check('hovering the station names it and its line', tip.includes('station') && tip.includes(`${TRAIN}:`), tip);
  await shot('6-jumped.png');

  await page.click('#sharpen');
  const sharper = await within(2000, (all) => {
    const gs = [...document.querySelectorAll('#sheet g[data-kind="station"]')];
    return gs.length > 0 && new Set(gs.map((g) => g.textContent.trim())).size < all;
  }, stations.length);
  check('sharpen draws only the stretch in sight', sharper);
  await shot('7-sharpened.png');
  await page.click('#fit');
  check('fit draws the whole line again', await within(2000, (all) =>
    new Set([...document.querySelectorAll('#sheet g[data-kind="station"]')].map((g) => g.textContent.trim())).size === all,
  stations.length));
  check('no console error', consoleErrors.length === 0, consoleErrors.join(' | '));
} finally {
  await browser.close();
}

const exited = new Promise((ok) => server.on('exit', (code, signal) => ok(code ?? signal)));
server.kill('SIGINT');
const status = await Promise.race([exited, new Promise((ok) => setTimeout(() => ok('still running'), 5000))]);
check('Ctrl-C ends the server with 0', status === 0, String(status));
if (status === 'still running') server.kill('SIGKILL');
rmSync(work, { recursive: true, force: true });
console.log(`browser: ${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);
