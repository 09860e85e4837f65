'use strict';
// The live view: the plan and the distance lanes from /scene.svg, drawn for
// the page's own size (one sheet unit a CSS pixel), the state and diagnostics
// from /state.json, all fetched again on each "compiled" event from /events.
// The plan zooms and pans on its own, both ways; the lanes zoom and pan along
// the line only, and are drawn anew for the stretch in view once it settles.

const $ = (id) => document.getElementById(id);
// plan: its viewBox [x, y, w, h] and the one it starts from; stretch: the
// metres the lanes show ({from, to}; null: the whole line).
const view = { plan: null, planFull: null, stretch: null };
let state = null;
let stations = [];  // {name, metres}
let busy = false, again = false;
let settle = null;  // the timer that draws the lanes once a zoom or a pan stops

const km = (m) => (m / 1000).toFixed(3) + ' km';
// Settled: no wheel turn or key for this long.
const SETTLE_MS = 150;
// The least stretch the lanes show.
const LEAST_M = 200;

function sheetSize() {
  const r = $('sheet').getBoundingClientRect();
  return { w: Math.max(300, Math.floor(r.width)), h: Math.max(300, Math.floor(r.height)) };
}

async function svgText(stretch) {
  const { w, h } = sheetSize();
  const q = new URLSearchParams({ width: w, height: h });
  if (stretch) q.set('from', stretch.from), q.set('to', stretch.to);
  for (;;) {
    const reply = await fetch('/scene.svg?' + q, { cache: 'no-store' });
    // 503: the server has spent its time for drawing and asks to be asked again.
    if (reply.status === 503) {
      await new Promise((done) => setTimeout(done, 1000 * (Number(reply.headers.get('Retry-After')) || 1)));
      continue;
    }
    if (!reply.ok) throw new Error(await reply.text());
    return reply.text();
  }
}

function parseSvg(text) {
  const doc = new DOMParser().parseFromString(text, 'image/svg+xml');
  return document.importNode(doc.documentElement, true);
}

async function refresh() {
  if (busy) { again = true; return; }
  busy = true;
  try {
    const s = await (await fetch('/state.json', { cache: 'no-store' })).json();
    hideTip();
    if (s.drawing) {
      const whole = await svgText(null);
      showPlan(parseSvg(whole));
      showLanes(parseSvg(view.stretch ? await svgText(view.stretch) : whole));
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
      `${new Date(s.drawing_compiled_at).toLocaleTimeString()})` +
      (s.drawing_kept_because ? `, kept: ${s.drawing_kept_because}` : '');
  }
  $('title').textContent = [s.route_id, s.train_number].filter(Boolean).join(' / ') +
    (s.length_m ? `, ${km(s.length_m)}` : '');
  document.title = `${s.ok ? 'ok' : 'error ' + s.error_code} · ${s.route_id || 'scenario'}`;
}

// A place of a text file: the element its line drew, centred in both views.
function placeItem(className, code, message, where, go) {
  const li = document.createElement('li');
  li.className = className;
  const c = document.createElement('span');
  c.className = 'code';
  c.textContent = code + ' ';
  const place = document.createElement('div');
  place.className = 'place';
  place.textContent = where;
  li.append(c, message, place);
  if (go) li.addEventListener('click', (e) => { e.stopPropagation(); go(); });
  return li;
}

function showDiagnostics(s) {
  const list = $('diagnostics');
  list.replaceChildren();
  const at = (d) => (d.file ? `${d.file}:${d.line ?? '?'}:${d.column ?? '?'}` : '') +
    (d.position_m != null ? ` (${d.position_m} m)` : '');
  for (const d of s.diagnostics) {
    const go = d.position_m != null ? () => centreOn(d.position_m)
      : d.file && d.line ? () => centreOnLine(d.file, d.line) : null;
    const li = placeItem(d.severity || 'error', d.code || d.severity || 'error', d.message, at(d), go);
    if (d.code) li.dataset.code = d.code;
    if (d.line) li.dataset.line = d.line;
    if (d.notes && d.notes.length) {
      const notes = document.createElement('ul');
      notes.className = 'notes';
      for (const n of d.notes) {
        const note = placeItem('note', 'note', n.message, at(n), n.file && n.line ? () => centreOnLine(n.file, n.line) : null);
        if (n.line) note.dataset.line = n.line;
        notes.append(note);
      }
      li.append(notes);
    }
    list.append(li);
  }
  $('count').textContent = s.diagnostics.length ? `(${s.diagnostics.length})` : '';
}

const planSvg = () => $('plan').querySelector('svg');
const lanesSvg = () => $('lanes').querySelector('svg');
const numbers = (svg, name) => svg.getAttribute(name).split(/\s+/).map(Number);

// The plan's part of the whole line's sheet, one unit a pixel until zoomed.
function showPlan(svg) {
  const full = [0, 0, Number(svg.getAttribute('width')), planFoot(svg)];
  if (!view.planFull || view.planFull.join() !== full.join()) view.plan = full.slice();
  view.planFull = full;
  svg.removeAttribute('width');
  svg.removeAttribute('height');
  // The sheet's white ground spans the viewport from 0: set to the plan's own
  // extent, it stays under the whole view when the view is moved off 0.
  const ground = svg.querySelector(':scope > rect');
  if (ground) {
    ground.setAttribute('width', full[2]);
    ground.setAttribute('height', full[3]);
  }
  $('plan').style.height = `${full[3]}px`;
  $('plan').replaceChildren(svg);
  applyPlan();
  listStations(svg);
}

// The lanes' part (from under the plan to the foot, axis and legend
// included) of the stretch's sheet, one unit a pixel.
function showLanes(svg) {
  const top = planFoot(svg), width = Number(svg.getAttribute('width')), height = Number(svg.getAttribute('height'));
  svg.setAttribute('viewBox', `0 ${top} ${width} ${height - top}`);
  // The sheet's white ground, which spans the viewport from 0, from the lanes' top.
  const ground = svg.querySelector(':scope > rect');
  if (ground) ground.setAttribute('y', top);
  svg.setAttribute('width', width);
  svg.setAttribute('height', height - top);
  $('lanes').replaceChildren(svg);
  $('lanes').style.transform = '';
}

// Where the plan's part ends and the lanes' begins: a whole pixel, so that
// neither part is drawn a hair smaller than one unit a pixel.
function planFoot(svg) {
  const [, y, , h] = numbers(svg, 'data-plan');
  return Math.ceil(y + h);
}

// The plan's view, kept on the plan once closer than the whole; its text and
// dots keep their size on screen however close it is, so that the names stay
// as readable and the marks as small as at the start, their places spreading.
function applyPlan() {
  const svg = planSvg();
  if (!svg || !view.plan) return;
  const [px, py, pw, ph] = numbers(svg, 'data-plan');
  let [x, y, w, h] = view.plan;
  if (w <= pw && h <= ph) {
    x = Math.min(Math.max(x, px), px + pw - w);
    y = Math.min(Math.max(y, py), py + ph - h);
    view.plan = [x, y, w, h];
  }
  svg.setAttribute('viewBox', view.plan.join(' '));
  const scale = Math.max(1, svg.getScreenCTM() ? svg.getScreenCTM().a : 1);
  for (const t of svg.querySelectorAll('text')) {
    if (!t.dataset.size) t.dataset.size = t.getAttribute('font-size');
    t.setAttribute('font-size', t.dataset.size / scale);
  }
  for (const c of svg.querySelectorAll('circle')) {
    if (!c.dataset.r) c.dataset.r = c.getAttribute('r');
    c.setAttribute('r', c.dataset.r / scale);
  }
  // A point's symbol (a signal's square, a board's) keeps its size too, about its centre.
  for (const g of svg.querySelectorAll('g[data-kind]')) {
    if (g.dataset.fromM !== g.dataset.toM) continue;
    for (const r of g.querySelectorAll(':scope > rect')) {
      if (!r.dataset.box) {
        const [x, y, w, h] = ['x', 'y', 'width', 'height'].map((a) => Number(r.getAttribute(a)));
        r.dataset.box = [x + w / 2, y + h / 2, w, h].join(' ');
      }
      const [cx, cy, w, h] = r.dataset.box.split(' ').map(Number);
      r.setAttribute('x', cx - w / scale / 2);
      r.setAttribute('y', cy - h / scale / 2);
      r.setAttribute('width', w / scale);
      r.setAttribute('height', h / scale);
    }
  }
}

// The lanes' axis: its ends in sheet units and the metres it spans.
function axis() {
  const svg = lanesSvg();
  if (!svg) return null;
  const [left, right] = numbers(svg, 'data-axis');
  const [from, to] = numbers(svg, 'data-stretch');
  return { left, right, from, to };
}

// The lanes to show [from, to], held to the line, drawn once the view settles.
function showStretch(from, to, now = false) {
  const length = state && state.length_m ? state.length_m : to;
  let span = Math.min(Math.max(to - from, LEAST_M), length);
  from = Math.min(Math.max(0, from), length - span);
  view.stretch = span >= length ? null : { from: Math.round(from), to: Math.round(from + span) };
  hideTip();
  clearTimeout(settle);
  const draw = async () => {
    try {
      showLanes(parseSvg(await svgText(view.stretch)));
    } catch (e) { /* the next compile or zoom draws again */ }
  };
  if (now) return draw();
  settle = setTimeout(draw, SETTLE_MS);
  return null;
}

// The pointer's place stays where it is; turns of the wheel before the lanes
// are drawn again add up.
function zoomLanes(factor, clientX) {
  const a = axis();
  if (!a) return;
  const share = clientX == null ? 0.5 : (clientX - $('lanes').getBoundingClientRect().left - a.left) / (a.right - a.left);
  const m = a.from + share * (a.to - a.from);
  const target = view.stretch || { from: 0, to: state.length_m };
  const span = (target.to - target.from) * factor;
  showStretch(m - share * span, m - share * span + span);
}

function zoomPlan(factor, cx, cy) {
  const [x, y, w, h] = view.plan;
  // Never below one unit a pixel (the text stays readable), nor past 200 times.
  const f = Math.min(Math.max(factor, view.planFull[2] / 200 / w), view.planFull[2] / w);
  view.plan = [cx - (cx - x) * f, cy - (cy - y) * f, w * f, h * f];
  applyPlan();
}

// A point of the window in the plan's units.
function toPlan(clientX, clientY) {
  const svg = planSvg();
  const p = svg.createSVGPoint();
  p.x = clientX;
  p.y = clientY;
  return p.matrixTransform(svg.getScreenCTM().inverse());
}

// The plan centred on an element of it, four times closer.
function planAround(g) {
  const b = g.getBBox(), [, , w, h] = view.planFull;
  const c = g.querySelector('circle, rect');
  const [cx, cy] = c && c.tagName === 'circle' ? [Number(c.getAttribute('cx')), Number(c.getAttribute('cy'))]
    : [b.x + b.width / 2, b.y + b.height / 2];
  view.plan = [cx - w / 8, cy - h / 8, w / 4, h / 4];
  applyPlan();
}

function pick(groups) {
  for (const svg of [planSvg(), lanesSvg()]) if (svg) for (const g of svg.querySelectorAll('g.picked')) g.classList.remove('picked');
  for (const g of groups) g.classList.add('picked');
}

// A position along the line: the lanes a quarter as long around it, the plan on it.
async function centreOn(metres) {
  const a = axis();
  if (!a) return;
  const span = Math.max((a.to - a.from) / 4, LEAST_M * 5);
  await showStretch(metres - span / 2, metres + span / 2, true);
  const svg = planSvg();
  const near = svg && [...svg.querySelectorAll('g[data-from-m]')]
    .filter((g) => g.querySelector('circle, rect'))
    .sort((p, q) => Math.abs(p.dataset.fromM - metres) - Math.abs(q.dataset.fromM - metres))[0];
  if (near && Math.abs(near.dataset.fromM - metres) < 2000) planAround(near);
}

// A place without a position: the element its text line drew, where there is one.
async function centreOnLine(file, line) {
  const svg = planSvg();
  const drawn = svg && [...svg.querySelectorAll('g[data-line]')]
    .filter((g) => g.dataset.file === file && Number(g.dataset.line) === line);
  if (!drawn || !drawn.length) return;
  await centreOn(Number(drawn[0].dataset.fromM));
  const lanes = lanesSvg();
  pick([...drawn, ...(lanes ? [...lanes.querySelectorAll('g[data-line]')]
    .filter((g) => g.dataset.file === file && Number(g.dataset.line) === line) : [])]);
}

function listStations(svg) {
  const seen = new Map();
  for (const g of svg.querySelectorAll('g[data-kind="station"]')) {
    // The name is in the element's values, also where the sheet had no room to write it.
    const named = (g.dataset.values || '').split(';').find((v) => v.startsWith('name='));
    const name = named ? named.slice(5) : g.textContent.trim();
    if (name && !seen.has(name)) seen.set(name, { name, metres: Number(g.dataset.fromM) });
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
  const s = stations.find((x) => x.name.toLowerCase() === lower) ||
    stations.find((x) => x.name.toLowerCase().startsWith(lower));
  if (!s) { note.textContent = `no station "${t}"`; return; }
  await centreOn(s.metres);
  const named = (g) => (g.dataset.values || '').split(';').includes(`name=${s.name}`);
  const groups = [planSvg(), lanesSvg()].flatMap((svg) => [...svg.querySelectorAll('g[data-kind="station"]')].filter(named));
  if (groups.length) planAround(groups[0]);
  pick(groups);
}

function tipFor(g) {
  const from = Number(g.dataset.fromM), to = Number(g.dataset.toM);
  const lines = [g.dataset.kind + (g.textContent.trim() ? ': ' + g.textContent.trim() : ''),
    from === to ? km(from) : `${km(from)} to ${km(to)}`];
  for (const v of (g.dataset.values || '').split(';')) if (v) lines.push(v.replace('=', ': '));
  if (g.dataset.file) lines.push(`${g.dataset.file}:${g.dataset.line || '?'}`);
  return lines.join('\n');
}

function hideTip() { $('tip').hidden = true; }

function wire() {
  const plan = $('plan'), lanes = $('lanes'), tip = $('tip');
  plan.addEventListener('wheel', (e) => {
    if (!planSvg()) return;
    e.preventDefault();
    hideTip();
    const p = toPlan(e.clientX, e.clientY);
    zoomPlan(Math.exp(e.deltaY * 0.0015), p.x, p.y);
  }, { passive: false });
  lanes.addEventListener('wheel', (e) => {
    if (!lanesSvg()) return;
    e.preventDefault();
    zoomLanes(Math.exp(e.deltaY * 0.0015), e.clientX);
  }, { passive: false });

  // A drag pans the plan both ways, the lanes along the line: they slide as a
  // picture while dragged, and are drawn for their new stretch when let go.
  let drag = null;
  const start = (where) => (e) => {
    if (where === 'plan' ? !planSvg() : !lanesSvg()) return;
    hideTip();
    const r = plan.getBoundingClientRect();
    drag = { where, x: e.clientX, y: e.clientY, plan: view.plan && view.plan.slice(),
      scale: view.plan ? view.plan[2] / r.width : 1, axis: axis() };
    e.currentTarget.setPointerCapture(e.pointerId);
    $('sheet').classList.add('dragging');
  };
  plan.addEventListener('pointerdown', start('plan'));
  lanes.addEventListener('pointerdown', start('lanes'));
  const move = (e) => {
    if (drag) {
      if (drag.where === 'plan') {
        view.plan = [drag.plan[0] - (e.clientX - drag.x) * drag.scale, drag.plan[1] - (e.clientY - drag.y) * drag.scale,
          drag.plan[2], drag.plan[3]];
        applyPlan();
      } else {
        lanes.style.transform = `translateX(${e.clientX - drag.x}px)`;
      }
      return;
    }
    const g = e.target.closest && e.target.closest('g[data-kind]');
    tip.hidden = !g;
    if (!g) return;
    tip.textContent = tipFor(g);
    tip.style.left = `${e.clientX + 14}px`;
    tip.style.top = `${e.clientY + 14}px`;
  };
  plan.addEventListener('pointermove', move);
  lanes.addEventListener('pointermove', move);
  const release = (e) => {
    if (drag && drag.where === 'lanes' && e.clientX !== drag.x) {
      const a = drag.axis, shift = -(e.clientX - drag.x) / (a.right - a.left) * (a.to - a.from);
      showStretch(a.from + shift, a.to + shift, true);
    }
    drag = null;
    $('sheet').classList.remove('dragging');
  };
  for (const el of [plan, lanes]) {
    el.addEventListener('pointerup', release);
    el.addEventListener('pointercancel', release);
    el.addEventListener('pointerleave', hideTip);
  }
  $('fit').addEventListener('click', () => {
    hideTip();
    if (view.planFull) { view.plan = view.planFull.slice(); applyPlan(); }
    pick([]);
    const length = state && state.length_m;
    if (length) showStretch(0, length, true);
  });
  $('zoom-in').addEventListener('click', () => zoomLanes(0.5, null));
  $('zoom-out').addEventListener('click', () => zoomLanes(2, null));
  $('jump').addEventListener('submit', (e) => { e.preventDefault(); jump($('jump-to').value); });
  let resized = null;
  window.addEventListener('resize', () => { clearTimeout(resized); resized = setTimeout(refresh, 200); });
  const events = new EventSource('/events');
  events.addEventListener('compiled', refresh);
  events.addEventListener('error', () => {
    $('status').textContent = 'disconnected: the server has stopped';
    $('status').className = 'error';
  });
}

wire();
