'use strict';
// The live view: the sheet from /scene.svg, the state and diagnostics from
// /state.json, both fetched again on each "compiled" event from /events.

const $ = (id) => document.getElementById(id);
// The sheet's shown and whole viewBox, [x, y, w, h], and the stretch it draws in
// metres ({from, to}; null: the whole line, drawn again sharper for a stretch).
const view = { box: null, full: null, stretch: null };
let state = null;
let stations = [];  // {name, metres, element}
let busy = false, again = false;

const km = (m) => (m / 1000).toFixed(3) + ' km';

async function refresh() {
  if (busy) { again = true; return; }
  busy = true;
  try {
    const s = await (await fetch('/state.json', { cache: 'no-store' })).json();
    if (s.drawing) {
      const q = view.stretch ? `?from=${view.stretch.from}&to=${view.stretch.to}` : '';
      showSheet(await (await fetch('/scene.svg' + q, { cache: 'no-store' })).text());
    }
    state = s;
    showState(s);
    showDiagnostics(s);
  } catch (e) {
    $('status').textContent = 'the server does not answer';
    $('status').className = 'error';
  } finally {
    busy = false;
    if (again) { again = false; refresh(); }
  }
}

function showState(s) {
  const when = new Date(s.compiled_at).toLocaleTimeString();
  const status = $('status');
  status.className = s.ok ? 'ok' : 'error';
  status.textContent = s.ok ? `ok, compiled ${when}`
    : s.failure ? `not compiled (${when}): ${s.failure}`
    : `error ${s.error_code} at ${s.error_metres} m, compiled ${when}`;
  if (s.drawing && !s.drawing_current) {
    status.textContent += ` · drawing: the last good one, of compile ${s.drawing_version} (` +
      `${new Date(s.drawing_compiled_at).toLocaleTimeString()})`;
  }
  $('title').textContent = [s.route_id, s.train_number].filter(Boolean).join(' / ') +
    (s.length_m ? `, ${km(s.length_m)}` : '');
  document.title = `${s.ok ? 'ok' : 'error ' + s.error_code} · ${s.route_id || 'scenario'}`;
}

function showDiagnostics(s) {
  const list = $('diagnostics');
  list.replaceChildren();
  for (const d of s.diagnostics) {
    const li = document.createElement('li');
    li.className = d.severity || 'error';
    if (d.code) li.dataset.code = d.code;
    if (d.line) li.dataset.line = d.line;
    const code = document.createElement('span');
    code.className = 'code';
    code.textContent = (d.code || d.severity || 'error') + ' ';
    const place = document.createElement('div');
    place.className = 'place';
    place.textContent = d.file ? `${d.file}:${d.line ?? '?'}:${d.column ?? '?'}` +
      (d.position_m != null ? ` (${d.position_m} m)` : '') : '';
    li.append(code, d.message, place);
    if (d.position_m != null) li.addEventListener('click', () => centreOn(d.position_m));
    else if (d.file && d.line) li.addEventListener('click', () => centreOnLine(d.file, d.line));
    list.append(li);
  }
  $('count').textContent = s.diagnostics.length ? `(${s.diagnostics.length})` : '';
}

function svgOf() { return $('sheet').querySelector('svg'); }

function showSheet(text) {
  const doc = new DOMParser().parseFromString(text, 'image/svg+xml');
  const svg = document.importNode(doc.documentElement, true);
  const [, , w, h] = svg.getAttribute('viewBox').split(/\s+/).map(Number);
  svg.removeAttribute('width');
  svg.removeAttribute('height');
  view.full = [0, 0, w, h];
  if (!view.box) view.box = view.full.slice();
  $('sheet').replaceChildren(svg);
  apply();
  listStations(svg);
}

function apply() {
  const svg = svgOf();
  if (svg && view.box) svg.setAttribute('viewBox', view.box.join(' '));
}

// A point of the window in the sheet's units.
function toSheet(clientX, clientY) {
  const svg = svgOf();
  const p = svg.createSVGPoint();
  p.x = clientX;
  p.y = clientY;
  return p.matrixTransform(svg.getScreenCTM().inverse());
}

function zoom(factor, cx, cy) {
  const [x, y, w, h] = view.box;
  const f = Math.min(Math.max(factor, view.full[2] / 200 / w), view.full[2] * 2 / w);
  view.box = [cx - (cx - x) * f, cy - (cy - y) * f, w * f, h * f];
  apply();
}

function zoomAtCentre(factor) {
  const [x, y, w, h] = view.box;
  zoom(factor, x + w / 2, y + h / 2);
}

// The sheet centred on (x, y), a quarter of it wide.
function showAround(x, y) {
  const w = view.full[2] / 4, h = view.full[3] / 4;
  view.box = [x - w / 2, y - h / 2, w, h];
  apply();
}

// A position along the line: on the distance axis, at the height of the
// objects' strip where an element stands there, else mid-sheet.
// The metres the sheet's distance axis spans.
function span() {
  return view.stretch || { from: state.axis.from_m, to: state.axis.to_m };
}

async function centreOn(metres) {
  if (!state || !state.axis || !svgOf()) return;
  const a = state.axis, r = span();
  if (metres < r.from || metres > r.to) await drawStretch(null);
  const { from, to } = span();
  const x = a.left + (metres - from) / (to - from) * (a.right - a.left);
  let y = view.full[3] / 2;
  const near = [...svgOf().querySelectorAll('g[data-kind="fault"]')]
    .find((g) => Number(g.dataset.fromM) === metres);
  if (near) { const b = near.getBBox(); y = b.y + b.height / 2; }
  showAround(x, y);
}

// A diagnostic without a position: the element its text line drew, where there is one.
function centreOnLine(file, line) {
  const svg = svgOf();
  const g = svg && [...svg.querySelectorAll('g[data-line]')]
    .find((g) => g.dataset.file === file && Number(g.dataset.line) === line);
  if (!g) return;
  const b = g.getBBox();
  showAround(b.x + b.width / 2, b.y + b.height / 2);
}

// The stretch now in sight drawn anew at the sheet's full resolution (null: the whole line).
async function drawStretch(stretch) {
  view.stretch = stretch;
  view.box = null;
  await refresh();
}

function sharpen() {
  if (!state || !state.axis || !view.box) return;
  const a = state.axis, r = span();
  const metres = (x) => Math.round(r.from + (x - a.left) / (a.right - a.left) * (r.to - r.from));
  const from = Math.max(a.from_m, metres(view.box[0]));
  const to = Math.min(a.to_m, metres(view.box[0] + view.box[2]));
  if (to - from >= 100) drawStretch({ from, to });
}

function listStations(svg) {
  stations = [];
  const seen = new Map();
  for (const g of svg.querySelectorAll('g[data-kind="station"]')) {
    // The name is in the element's values, also where the sheet had no room to write it.
    const named = (g.dataset.values || '').split(';').find((v) => v.startsWith('name='));
    const name = named ? named.slice(5) : g.textContent.trim();
    if (name) seen.set(name, { name, metres: Number(g.dataset.fromM), element: g });  // the last: the names strip
  }
  stations = [...seen.values()];
  $('stations').replaceChildren(...stations.map((s) => {
    const o = document.createElement('option');
    o.value = s.name;
    return o;
  }));
}

async function jump(text) {
  const note = $('jump-note');
  note.textContent = '';
  const t = text.trim();
  if (/^\d+([.,]\d+)?$/.test(t)) return centreOn(Math.round(Number(t.replace(',', '.')) * 1000));
  const lower = t.toLowerCase();
  const find = () => stations.find((s) => s.name.toLowerCase() === lower) ||
    stations.find((s) => s.name.toLowerCase().startsWith(lower));
  // A station outside the stretch drawn is on the whole line.
  if (!find() && view.stretch) await drawStretch(null);
  const s = find();
  if (!s) { note.textContent = `no station "${t}"`; return; }
  const b = s.element.getBBox();
  showAround(b.x + b.width / 2, b.y + b.height / 2);
  for (const g of svgOf().querySelectorAll('g.picked')) g.classList.remove('picked');
  s.element.classList.add('picked');
}

function tipFor(g) {
  const from = Number(g.dataset.fromM), to = Number(g.dataset.toM);
  const lines = [g.dataset.kind + (g.textContent.trim() ? ': ' + g.textContent.trim() : ''),
    from === to ? km(from) : `${km(from)} to ${km(to)}`];
  for (const v of (g.dataset.values || '').split(';')) if (v) lines.push(v.replace('=', ': '));
  if (g.dataset.file) lines.push(`${g.dataset.file}:${g.dataset.line || '?'}`);
  return lines.join('\n');
}

function wire() {
  const sheet = $('sheet'), tip = $('tip');
  sheet.addEventListener('wheel', (e) => {
    if (!svgOf()) return;
    e.preventDefault();
    const p = toSheet(e.clientX, e.clientY);
    zoom(Math.exp(e.deltaY * 0.0015), p.x, p.y);
  }, { passive: false });
  let drag = null;
  sheet.addEventListener('pointerdown', (e) => {
    if (!svgOf()) return;
    const r = sheet.getBoundingClientRect();
    drag = { x: e.clientX, y: e.clientY, box: view.box.slice(),
      scale: Math.max(view.box[2] / r.width, view.box[3] / r.height) };
    sheet.setPointerCapture(e.pointerId);
    sheet.classList.add('dragging');
  });
  sheet.addEventListener('pointermove', (e) => {
    if (drag) {
      view.box = [drag.box[0] - (e.clientX - drag.x) * drag.scale, drag.box[1] - (e.clientY - drag.y) * drag.scale,
        drag.box[2], drag.box[3]];
      apply();
      return;
    }
    const g = e.target.closest && e.target.closest('g[data-kind]');
    tip.hidden = !g;
    if (!g) return;
    tip.textContent = tipFor(g);
    tip.style.left = `${e.clientX + 14}px`;
    tip.style.top = `${e.clientY + 14}px`;
  });
  const release = () => { drag = null; sheet.classList.remove('dragging'); };
  sheet.addEventListener('pointerup', release);
  sheet.addEventListener('pointercancel', release);
  sheet.addEventListener('pointerleave', () => { tip.hidden = true; });
  $('fit').addEventListener('click', () => {
    if (view.stretch) return drawStretch(null);
    if (view.full) { view.box = view.full.slice(); apply(); }
  });
  $('sharpen').addEventListener('click', sharpen);
  $('zoom-in').addEventListener('click', () => view.box && zoomAtCentre(0.5));
  $('zoom-out').addEventListener('click', () => view.box && zoomAtCentre(2));
  $('jump').addEventListener('submit', (e) => { e.preventDefault(); jump($('jump-to').value); });
  const events = new EventSource('/events');
  events.addEventListener('compiled', refresh);
  events.addEventListener('error', () => {
    $('status').textContent = 'disconnected: the server has stopped';
    $('status').className = 'error';
  });
}

wire();
