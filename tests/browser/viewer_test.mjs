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
  // The same for a condition the test itself evaluates.
  const until = async (ms, fn) => {
    for (const end = Date.now() + ms; Date.now() < end; await new Promise((ok) => setTimeout(ok, 50))) if (await fn()) return true;
    return fn();
  };
  const within = (ms, fn, ...args) => page.waitForFunction(fn, { timeout: ms, polling: 50 }, ...args)
    .then(() => true, () => false);

  await page.goto(url);
  check('the first compile shows ok', await within(10000, () => document.querySelector('#lanes svg') && document.querySelector('#status.ok')));
  const names = (sel) => page.$$eval(sel, (gs) => gs.map((g) =>
    ((g.dataset.values || '').split(';').find((v) => v.startsWith('name=')) || '').slice(5)));
  // The running times: each timed section's fastest run in the speed lane and,
  // with the scheduled times, in the timetable lane (9 timed stations, 8 sections).
  const running = () => page.$eval('#lanes svg', (svg) => {
    const panel = svg.querySelector('g[data-kind="time-distance"]');
    const all = svg.querySelectorAll('g[data-kind="fastest-run"] polyline').length;
    const inPanel = panel ? panel.querySelectorAll('g[data-kind="fastest-run"] polyline').length : -1;
    const scheduled = panel ? panel.querySelectorAll('g[data-kind="scheduled-time"] circle').length : -1;
    return { speed: all - Math.max(inPanel, 0), times: inPanel, scheduled };
  });
  const drawnRuns = await running();
  check('the fastest run is drawn in the speed lane and the timetable beside the 9 scheduled times',
    drawnRuns.speed === 8 && drawnRuns.times === 8 && drawnRuns.scheduled === 9, JSON.stringify(drawnRuns));
  const shown = await names('#plan g[data-kind="station"]');
  const missing = stations.filter((s) => !shown.includes(s));
  check('the 35 stations are drawn', stations.length === 35 && missing.length === 0,
    `${stations.length} in the file, missing: ${missing.join(', ')}`);
  // What a zoom must keep: the permitted speed's stroke and the lanes' text as
  // drawn on screen, and the axis labels inside the window.
  const looks = () => page.$eval('#lanes svg', (svg) => {
    const scale = svg.getScreenCTM().a;
    const line = svg.querySelector('g[data-kind="permitted-speed"] polyline');
    const texts = [...svg.querySelectorAll('text')];
    const view = svg.parentElement.getBoundingClientRect();
    const axisLabels = texts.filter((t) => /^\d+(\.\d+)?$/.test(t.textContent));
    return {
      stroke: Number(line.getAttribute('stroke-width')) * scale,
      sizes: [...new Set(texts.map((t) => Number(t.getAttribute('font-size')) * scale))].sort().join(),
      axisInView: axisLabels.length > 0 && axisLabels.every((t) => {
        const r = t.getBoundingClientRect();
        return r.left >= view.left - 0.5 && r.right <= view.right + 0.5 && r.bottom <= window.innerHeight;
      }),
      stretch: svg.getAttribute('data-stretch').split(' ').map(Number),
    };
  });
  // No text of the page under 11 CSS pixels: the sheet's (font size times its
  // scale) and the page's own.
  const smallest = () => page.evaluate(() => {
    let least = Infinity, what = '';
    for (const t of document.querySelectorAll('svg text')) {
      const px = Number(t.getAttribute('font-size')) * t.ownerSVGElement.getScreenCTM().a;
      if (px < least) least = px, what = t.textContent;
    }
    for (const el of document.querySelectorAll('header *, aside *')) {
      if (![...el.childNodes].some((n) => n.nodeType === 3 && n.textContent.trim())) continue;
      const px = parseFloat(getComputedStyle(el).fontSize);
      if (px < least) least = px, what = el.textContent.slice(0, 40);
    }
    return { least, what };
  });
  const legible = await smallest();
  check('no text under 11 CSS pixels at 1400 x 900', legible.least >= 11, `${legible.least} px: ${legible.what}`);
  await shot('1-loaded.png');

  const before = await looks();
  const lanesBox = await page.$eval('#lanes', (e) => { const r = e.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; });
  // Over the speed lane, 3/4 along the axis.
  await page.mouse.move(lanesBox[0] + lanesBox[2] * 0.75, lanesBox[1] + lanesBox[3] * 0.3);
  const tipShown = await page.$eval('#tip', (t) => !t.hidden);
  for (let i = 0; i < 3; i++) await page.mouse.wheel({ deltaY: -300 });
  check('the lanes are drawn anew for the stretch in view once the zoom settles', await within(3000, (span) => {
    const [from, to] = document.querySelector('#lanes svg').getAttribute('data-stretch').split(' ').map(Number);
    return to - from < span / 2;
  }, before.stretch[1] - before.stretch[0]));
  const zoomed = await looks();
  check('the zoom narrows the stretch about the pointer', zoomed.stretch[0] > before.stretch[0] &&
    zoomed.stretch[1] - zoomed.stretch[0] < (before.stretch[1] - before.stretch[0]) / 2, `${before.stretch} -> ${zoomed.stretch}`);
  check('the zoom keeps stroke widths and text sizes', zoomed.stroke === before.stroke && zoomed.sizes === before.sizes,
    `${JSON.stringify(before)} -> ${JSON.stringify(zoomed)}`);
  check('the axis labels stay in view', before.axisInView && zoomed.axisInView);
  check('the tooltip goes on a zoom', !(await page.$eval('#tip', (t) => !t.hidden)), `shown before: ${tipShown}`);
  await shot('2-zoomed.png');

  // The plan zooms on its own.
  const planBox = await page.$eval('#plan svg', (s) => s.getAttribute('viewBox'));
  // On screen: a signal's square, and whether the white ground covers the plan's box.
  const planLooks = () => page.$eval('#plan', (e) => {
    const r = e.querySelector('g[data-kind="signal"] rect').getBoundingClientRect();
    const g = e.querySelector('svg > rect').getBoundingClientRect(), box = e.getBoundingClientRect();
    return { square: Math.round(r.width * 10) / 10,
      covered: g.left <= box.left + 1 && g.top <= box.top + 1 && g.right >= box.right - 1 && g.bottom >= box.bottom - 1 };
  });
  const planBefore = await planLooks();
  const plan = await page.$eval('#plan', (e) => { const r = e.getBoundingClientRect(); return [r.x, r.y, r.width, r.height]; });
  await page.mouse.move(plan[0] + plan[2] / 2, plan[1] + plan[3] / 2);
  for (let i = 0; i < 2; i++) await page.mouse.wheel({ deltaY: -300 });
  const planZoomed = await page.$eval('#plan svg', (s) => s.getAttribute('viewBox'));
  check('the plan zooms both ways, the lanes stay', planZoomed !== planBox &&
    (await looks()).stretch.join() === zoomed.stretch.join(), `${planBox} -> ${planZoomed}`);
  const planAfter = await planLooks();
  check('a zoomed plan keeps its symbols\' size and its white ground', planAfter.square === planBefore.square && planAfter.covered,
    `${planBefore.square} -> ${planAfter.square} px, ground covers: ${planAfter.covered}`);

  // Hovered, then edited: the tooltip goes.
  await page.mouse.move(lanesBox[0] + lanesBox[2] * 0.5, lanesBox[1] + lanesBox[3] * 0.3);
  const started = Date.now();
  writeFileSync(trainPath, original.toString('latin1').replace(SECOND, MOVED), 'latin1');
  const errorShown = await within(2000, () => document.querySelector('#status.error') &&
    document.querySelector('#diagnostics li[data-code="E16"][data-line="79"]'));
  check('the edit shows error 16 on line 79 within 2 s', errorShown, `${Date.now() - started} ms`);
  check('the tooltip goes on an edit', !(await page.$eval('#tip', (t) => !t.hidden)));
  check('the zoom outlives the new drawing', (await looks()).stretch.join() === zoomed.stretch.join());
  // A model with an error state runs no train: the edit redraws the lanes without it.
  check('the edit redraws the running times: none over an error state', await until(3000, async () => (await running()).speed === 0));
  await shot('3-error.png');
  // The note names the first signal's line, 78: clicking it goes there.
  const note = await page.$('#diagnostics li[data-code="E16"] li.note[data-line="78"]');
  check('the diagnostic lists its note', note !== null);
  if (note) {
    await note.click();
    check('clicking the note moves to its place', await within(3000, () => {
      const [from, to] = document.querySelector('#lanes svg').getAttribute('data-stretch').split(' ').map(Number);
      return from <= 1650 && 1650 <= to && document.querySelector('#plan g.picked[data-line="78"]');
    }));
  }
  await shot('4-note-clicked.png');

  writeFileSync(trainPath, original);
  check('restoring the file clears it within 2 s', await within(2000, () => document.querySelector('#status.ok') &&
    !document.querySelector('#diagnostics li.error')));
  await shot('5-restored.png');

  await page.click('#fit');
  check('fit draws the whole line again', await within(2000, () =>
    document.querySelector('#lanes svg').getAttribute('data-stretch') === `0 ${243000}`));
  check('the restored file has its running times again',
    await until(3000, async () => JSON.stringify(await running()) === JSON.stringify(drawnRuns)));
  const station = stations[10];
  await page.type('#jump-to', station);
  await page.keyboard.press('Enter');
  check(`the jump to ${station} picks it and zooms`, await within(3000, (name) => {
    const picked = [...document.querySelectorAll('#plan g.picked')];
    const [from, to] = document.querySelector('#lanes svg').getAttribute('data-stretch').split(' ').map(Number);
    return picked.some((g) => g.dataset.values.includes(`name=${name}`)) && to - from < 243000 / 2;
  }, station));
  const centre = await page.$eval('#plan g.picked', (g) => { const r = g.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; });
  await page.mouse.move(centre[0], centre[1]);
  const tip = await page.$eval('#tip', (t) => (t.hidden ? '' : t.textContent));
  check('hovering the station names it and its line', tip.includes('station') && tip.includes(`${TRAIN}:`), tip);
  await shot('6-jumped.png');

  await page.setViewport({ width: 1920, height: 1080 });
  check('at 1920 x 1080 the sheet is drawn for the new size', await within(3000, () =>
    Number(document.querySelector('#lanes svg').getAttribute('width')) > 1400));
  const wide = await smallest();
  check('no text under 11 CSS pixels at 1920 x 1080', wide.least >= 11, `${wide.least} px: ${wide.what}`);
  await shot('7-1920x1080.png');
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
