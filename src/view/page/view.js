// The interactive view of a learned machine: draws the states and transitions
// the minimum count lets through with Graphviz (viz.js), pans and zooms them,
// and shows states, transitions and the runs of traces on demand. Everything
// it shows comes from the JSON in #logfsm-data; it makes no network request.
'use strict';

(function () {
  const MAX_FIRST_SHOWN = 400;  // transitions drawn at most in the first view
  const NEAR_STEPS = 2;         // how far the neighbourhood view reaches
  const MAX_MATCHES = 50;       // search results listed at once
  const MAX_FIT_ZOOM = 1.5;     // how far fitting enlarges a small drawing
  const MAX_LABELLED = 60;      // drawings with more label only surprising tracks
  const CONFIRM_DRAWING = 2000; // more transitions are drawn only when asked
  // Fewer rounds of crossing reduction and placement, straight edges: keeps
  // the layout of more than MAX_FIRST_SHOWN transitions to seconds, not minutes.
  const QUICK_LAYOUT = ', mclimit=0.1, nslimit=1, nslimit1=1, searchsize=10, remincross=false, splines=line';

  const data = JSON.parse(document.getElementById('logfsm-data').textContent);
  const machine = indexMachine(data);
  // The slider's stops: 0 and every count some transition has, ascending.
  const thresholds = [...new Set([0, ...data.transitions.map((t) => t.traces)])].sort((a, b) => a - b);

  // What is shown; the fragment mirrors min, state, near and trace.
  const view = {
    min: startingMin(data.transitions),
    state: -1,       // selected state index, or -1
    transition: -1,  // selected transition index (panel only), or -1
    near: false,     // draw only the neighbourhood of the selected state
    trace: null,     // the trace whose run is highlighted, or null
  };

  // What the last finished drawing holds.
  const drawing = { nodes: new Map(), edges: new Map(), svg: null, panZoom: null, key: '' };
  let drawGeneration = 0;
  let vizPromise = null;
  let confirmedKey = '';  // the big drawing the user asked for

  const $ = (id) => document.getElementById(id);
  const count = (n, noun) => `${n} ${noun}${n === 1 ? '' : 's'}`;

  // ---------------------------------------------------------------- the model

  // Index arrays over the data: each state's text "NAME(ID)" (as the model
  // file writes it) and the map back to its index, the ends of every
  // transition, each state's incoming and outgoing transitions (in model
  // order) and the largest count. Transitions naming unknown states are never
  // shown.
  function indexMachine(d) {
    const stateIndex = new Map();
    d.states.forEach((s, i) => {
      s.text = `${s.name}(${s.id})`;
      stateIndex.set(s.text, i);
    });
    const n = d.transitions.length;
    const from = new Int32Array(n), to = new Int32Array(n);
    const outgoing = d.states.map(() => []), incoming = d.states.map(() => []);
    let maxCount = 0, initial = -1;
    const known = (s) => Number.isInteger(s) && s >= 0 && s < d.states.length;
    d.transitions.forEach((t, i) => {
      from[i] = known(t.from) ? t.from : -1;
      to[i] = known(t.to) ? t.to : -1;
      if (from[i] >= 0 && to[i] >= 0) {
        outgoing[from[i]].push(i);
        incoming[to[i]].push(i);
      }
      maxCount = Math.max(maxCount, t.traces);
    });
    d.states.forEach((s, i) => { if (s.initial && initial < 0) initial = i; });
    return { stateIndex, from, to, outgoing, incoming, maxCount, initial };
  }

  // The smallest minimum count that lets at most MAX_FIRST_SHOWN transitions
  // through; 0 when there are no more than that.
  function startingMin(transitions) {
    if (transitions.length <= MAX_FIRST_SHOWN) return 0;
    const counts = transitions.map((t) => t.traces).sort((a, b) => b - a);
    return counts[MAX_FIRST_SHOWN] + 1;
  }

  // The transitions with at least `min` traces (every one with min 0).
  function passing(min) {
    const out = [];
    data.transitions.forEach((t, i) => {
      if (t.traces >= min && machine.from[i] >= 0 && machine.to[i] >= 0) out.push(i);
    });
    return out;
  }

  // The states within NEAR_STEPS steps of `centre` in either direction, moving
  // along the given transitions only; `centre` itself always belongs.
  function neighbourhood(centre, transitions) {
    const allowed = new Uint8Array(data.transitions.length);
    for (const t of transitions) allowed[t] = 1;
    const reached = new Set([centre]);
    let frontier = [centre];
    for (let step = 0; step < NEAR_STEPS; step++) {
      const next = [];
      for (const s of frontier) {
        for (const t of machine.outgoing[s].concat(machine.incoming[s])) {
          const other = machine.from[t] === s ? machine.to[t] : machine.from[t];
          if (allowed[t] && !reached.has(other)) { reached.add(other); next.push(other); }
        }
      }
      frontier = next;
    }
    return reached;
  }

  // The states and transitions to draw: the transitions passing the minimum
  // count, the states they touch and the initial state (every state with min
  // 0); in the neighbourhood view only those within reach of the selected state.
  function visibleSet() {
    let transitions = passing(view.min);
    let states;
    if (view.near && view.state >= 0) {
      states = neighbourhood(view.state, transitions);
      transitions = transitions.filter((t) => states.has(machine.from[t]) && states.has(machine.to[t]));
    } else if (view.min === 0) {
      states = new Set(data.states.keys());
    } else {
      states = new Set();
      if (machine.initial >= 0) states.add(machine.initial);
      for (const t of transitions) { states.add(machine.from[t]); states.add(machine.to[t]); }
    }
    return { states: [...states].sort((a, b) => a - b), transitions };
  }

  // ------------------------------------------------------------------ drawing

  // A DOT double-quoted string holding `text` literally (line breaks become
  // centred line breaks).
  function dotString(text) {
    return '"' + String(text).replace(/[\\"]/g, '\\$&').replace(/\r\n|\r|\n/g, '\\n') + '"';
  }

  // The second line of a state's box: its id in parentheses.
  function idSuffix(s) {
    return `(${s.id})`;
  }

  // The DOT text of the visible set. Node and edge ids are "s<state index>"
  // and "t<transition index>"; pen width grows with a transition's count;
  // transitions are labelled with their track, in bigger drawings only where
  // it differs from the target's name.
  function buildDot(vis) {
    const allLabels = vis.transitions.length <= MAX_LABELLED;
    const lines = [
      'digraph logfsm {',
      'graph [rankdir=LR, nodesep=0.2, ranksep=0.35, bgcolor="transparent"' +
        (vis.transitions.length > MAX_FIRST_SHOWN ? QUICK_LAYOUT : '') + '];',
      'node [shape=box, style=rounded, fontname="Helvetica,Arial,sans-serif", fontsize=10, margin="0.08,0.03", height=0.3];',
      'edge [fontname="Helvetica,Arial,sans-serif", fontsize=9, arrowsize=0.6, color="#555555"];',
    ];
    for (const i of vis.states) {
      const s = data.states[i];
      let attrs = `id="s${i}", label=${dotString(s.name + '\n' + idSuffix(s))}`;
      if (s.accepting) attrs += ', peripheries=2';
      if (s.initial) attrs += ', style="rounded,filled,bold", fillcolor="#d0ebff"';
      lines.push(`s${i} [${attrs}];`);
    }
    const max = Math.max(1, machine.maxCount);
    for (const i of vis.transitions) {
      const t = data.transitions[i];
      let attrs = `id="t${i}", penwidth=${(1 + 4 * t.traces / max).toFixed(2)}`;
      if (allLabels || t.track !== data.states[machine.to[i]].name) attrs += `, label=${dotString(t.track)}`;
      if (t.traces === 0) attrs += ', style=dashed';
      lines.push(`s${machine.from[i]} -> s${machine.to[i]} [${attrs}];`);
    }
    lines.push('}');
    return lines.join('\n');
  }

  // Lays out the visible set and puts it on the page, unless the same set is
  // drawn already. data-ready="1" on <html> stands exactly while a finished
  // drawing matches the view; a later call supersedes an earlier one. Sets
  // too big to lay out quickly wait for the user's word.
  async function draw() {
    const vis = visibleSet();
    showCounts(vis);
    const key = view.min + '|' + (view.near ? view.state : -1);
    const generation = ++drawGeneration;  // cancels any drawing still waiting
    if (key === drawing.key) {
      applyMarks();
      document.documentElement.dataset.ready = '1';
      setStatus('');
      return;
    }
    delete document.documentElement.dataset.ready;
    if (vis.transitions.length > CONFIRM_DRAWING && confirmedKey !== key) {
      setStatus(`laying out ${vis.transitions.length} transitions may take minutes, during which the page does ` +
        'not respond; raise the minimum count to see fewer, or ',
        button('draw them anyway', () => { confirmedKey = key; draw().then(showPanel); }));
      return;
    }
    setStatus(`laying out ${vis.states.length} states and ${vis.transitions.length} transitions…`);
    try {
      vizPromise = vizPromise || Viz.instance();
      const viz = await vizPromise;
      // Let the status paint before the layout blocks the page.
      await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
      if (generation !== drawGeneration) return;
      const svg = viz.renderSVGElement(buildDot(vis));
      if (generation !== drawGeneration) return;
      install(svg);
      drawing.key = key;
      applyMarks();
      setStatus('');
      document.documentElement.dataset.ready = '1';
    } catch (error) {
      setStatus('cannot draw the machine: ' + (error && error.message ? error.message : error));
    }
  }

  // Puts a rendered SVG in place of the previous one: tags every state and
  // transition element with its data-* attributes and a readable tooltip,
  // and starts pan and zoom on it.
  function install(svg) {
    drawing.nodes.clear();
    drawing.edges.clear();
    for (const g of svg.querySelectorAll('g.node, g.edge')) {
      const index = Number(g.id.slice(1));
      const title = g.querySelector('title');
      if (g.id[0] === 's') {
        const s = data.states[index];
        g.dataset.state = s.text;
        if (title) title.textContent = `${s.text}: ${count(s.traces, 'trace')}`;
        drawing.nodes.set(index, g);
      } else if (g.id[0] === 't') {
        const t = data.transitions[index];
        const from = data.states[t.from].text, to = data.states[t.to].text;
        g.dataset.from = from;
        g.dataset.to = to;
        g.dataset.traces = String(t.traces);
        if (title) title.textContent = `${from} → ${to} (${t.track}): ${count(t.traces, 'trace')}`;
        drawing.edges.set(index, g);
      }
    }
    svg.removeAttribute('width');
    svg.removeAttribute('height');
    svg.setAttribute('width', '100%');
    svg.setAttribute('height', '100%');
    if (drawing.panZoom) drawing.panZoom.destroy();
    const host = $('graph');
    if (drawing.svg) drawing.svg.remove();
    host.appendChild(svg);
    drawing.svg = svg;
    drawing.panZoom = svgPanZoom(svg, {
      fit: true, center: true, minZoom: 0.02, maxZoom: 50,
      controlIconsEnabled: true, dblClickZoomEnabled: false, zoomScaleSensitivity: 0.3,
    });
    fitDrawing();
  }

  // Sets the classes of the drawn elements from the view: "selected" on the
  // selected state or transition, "run" on the highlighted trace's transitions
  // and states, "stop" on the states a rejected trace stopped in; and the
  // explanation line.
  function applyMarks() {
    showExplanation();
    if (!drawing.svg) return;
    for (const g of drawing.svg.querySelectorAll('.selected, .run, .stop')) {
      g.classList.remove('selected', 'run', 'stop');
    }
    const node = drawing.nodes.get(view.state);
    if (node) node.classList.add('selected');
    const edge = drawing.edges.get(view.transition);
    if (edge) edge.classList.add('selected');
    drawing.svg.classList.toggle('has-run', view.trace !== null);
    if (view.trace === null) return;
    const run = data.runs[view.trace.run] || [];
    const mark = (element, cls) => { if (element) element.classList.add(cls); };
    if (machine.initial >= 0) mark(drawing.nodes.get(machine.initial), 'run');
    for (const t of run) {
      mark(drawing.edges.get(t), 'run');
      mark(drawing.nodes.get(machine.from[t]), 'run');
      mark(drawing.nodes.get(machine.to[t]), 'run');
    }
    if (!view.trace.accepted) {
      for (const s of view.trace.stops || []) mark(drawing.nodes.get(s), 'stop');
    }
  }

  // ------------------------------------------------------------------- traces

  // Why a trace was rejected, as `logfsm check` explains it.
  function explain(trace) {
    return trace.accepted ? `line ${trace.line}: accepted` : trace.explanation;
  }

  // Highlights the run of the trace on `line` (1-based) and explains it; a
  // line outside the log clears the highlight and says so.
  function showTrace(line) {
    view.trace = data.traces[line - 1] || null;
    applyMarks();
    if (view.trace) {
      $('trace-line').value = String(line);
    } else {
      $('explanation').hidden = false;
      $('explanation').textContent = `there is no trace ${line} (the log has ${data.traces.length})`;
    }
    writeHash();
  }

  function clearTrace() {
    view.trace = null;
    applyMarks();
    writeHash();
  }

  // The explanation line of the highlighted trace, which also tells how much
  // of its run the drawing leaves out; hidden without a trace.
  function showExplanation() {
    const box = $('explanation'), trace = view.trace;
    box.hidden = !trace;
    if (!trace) return;
    box.classList.toggle('rejected', !trace.accepted);
    const run = data.runs[trace.run] || [];
    const hidden = run.filter((t) => !drawing.edges.has(t)).length;
    box.textContent = explain(trace) +
      (hidden ? ` (${hidden} of the run's ${run.length} transitions are not drawn)` : '');
  }

  // -------------------------------------------------------------------- panel

  // A button that runs `action`; its text is set as text, never as markup.
  function button(text, action, cls) {
    const b = document.createElement('button');
    b.type = 'button';
    b.textContent = text;
    if (cls) b.className = cls;
    b.addEventListener('click', action);
    return b;
  }

  function element(tag, text, cls) {
    const e = document.createElement(tag);
    if (text !== undefined) e.textContent = text;
    if (cls) e.className = cls;
    return e;
  }

  // Line-number buttons for the example traces, or a note when there are none.
  function traceButtons(examples, total) {
    const box = element('div', undefined, 'traces');
    if (!examples.length) box.append(element('span', 'no trace of the log uses it', 'note'));
    for (const line of examples) box.append(button(String(line), () => showTrace(line)));
    if (total > examples.length) box.append(element('span', `(${examples.length} of ${total})`, 'note'));
    return box;
  }

  // A list of transitions, most used first, each leading to the state at its
  // other end (with its track when that is not the target's name);
  // transitions hidden by the minimum count are marked.
  function transitionList(indices, otherEnd) {
    const list = element('ul', undefined, 'transitions');
    const sorted = indices.slice().sort((a, b) => data.transitions[b].traces - data.transitions[a].traces);
    for (const t of sorted) {
      const other = otherEnd(t);
      const item = element('li', undefined, drawing.edges.has(t) ? '' : 'hidden-transition');
      const { track, traces } = data.transitions[t];
      const label = track === data.states[machine.to[t]].name ? '' : ` "${track}"`;
      item.append(button(data.states[other].text, () => selectState(other, true)),
        element('span', `${label} · ${traces}`, 'count'));
      list.append(item);
    }
    if (!sorted.length) list.append(element('li', 'none', 'note'));
    return list;
  }

  // Fills the side panel with the selected state or transition.
  function showPanel() {
    const body = $('panel-body');
    body.replaceChildren();
    const hidden = view.state < 0 && view.transition < 0;
    if ($('panel').hidden !== hidden) {
      $('panel').hidden = hidden;
      refit();
    }
    if (view.state >= 0) {
      const i = view.state, s = data.states[i];
      body.append(element('h2', s.name), element('p', s.text, 'id'),
        element('p', [s.accepting ? 'accepting' : 'not accepting', s.initial ? 'initial' : 'not initial',
          'used by ' + count(s.traces, 'trace')].join(' · ')));
      if (!drawing.nodes.has(i) && !view.near) body.append(element('p', 'not drawn at this minimum count', 'note'));
      body.append(view.near
        ? button('show the whole view', () => setNear(false))
        : button('show neighbourhood', () => setNear(true)));
      body.append(element('h3', `incoming (${machine.incoming[i].length})`),
        transitionList(machine.incoming[i], (t) => machine.from[t]),
        element('h3', `outgoing (${machine.outgoing[i].length})`),
        transitionList(machine.outgoing[i], (t) => machine.to[t]),
        element('h3', 'traces'), traceButtons(s.examples, s.traces));
    } else if (view.transition >= 0) {
      const i = view.transition, t = data.transitions[i];
      body.append(element('h2', t.track), element('p', 'used by ' + count(t.traces, 'trace')),
        element('h3', 'from'), button(t.from, () => selectState(machine.from[i], true)),
        element('h3', 'to'), button(t.to, () => selectState(machine.to[i], true)),
        element('h3', 'traces'), traceButtons(t.examples, t.traces));
    }
  }

  // --------------------------------------------------------------- selection

  // Selects state `i` (-1: none), brought to the middle of the drawing when
  // `focus`; in the neighbourhood view the drawing follows the selection.
  function selectState(i, focus) {
    view.state = i;
    view.transition = -1;
    if (i < 0) view.near = false;
    writeHash();
    showPanel();
    draw().then(() => {
      showPanel();
      if (focus) focusState(i);
    });
  }

  // Unless state `i` is in sight at natural size or larger already: zooms in
  // to natural size if the drawing is shown smaller, and pans the state to the
  // middle. Nothing when it is not drawn.
  function focusState(i) {
    const node = drawing.nodes.get(i), panZoom = drawing.panZoom;
    if (!node || !panZoom) return;
    // The node's centre in the coordinates svg-pan-zoom moves and scales.
    const viewport = drawing.svg.querySelector('.svg-pan-zoom_viewport');
    const box = node.getBBox();
    const centre = new DOMPoint(box.x + box.width / 2, box.y + box.height / 2)
      .matrixTransform(viewport.getCTM().inverse().multiply(node.getCTM()));
    const { width, height, realZoom } = panZoom.getSizes(), pan = panZoom.getPan();
    const x = centre.x * realZoom + pan.x, y = centre.y * realZoom + pan.y;
    if (realZoom >= 1 && x > 0 && x < width && y > 0 && y < height) return;
    if (realZoom < 1) panZoom.zoom(panZoom.getZoom() / realZoom);
    const zoom = panZoom.getSizes().realZoom;
    panZoom.pan({ x: width / 2 - centre.x * zoom, y: height / 2 - centre.y * zoom });
  }

  function selectTransition(i) {
    view.state = -1;
    view.transition = i;
    view.near = false;
    writeHash();
    showPanel();
    draw().then(showPanel);
  }

  function setNear(near) {
    view.near = near && view.state >= 0;
    writeHash();
    draw().then(showPanel);
  }

  function setMin(min) {
    view.min = Math.max(0, Math.floor(min) || 0);
    writeHash();
    draw().then(showPanel);
  }

  // "showing X of Y transitions (used by at least N traces)".
  function countLine(shown, min) {
    return `showing ${shown} of ${data.transitions.length} transitions` +
      (min > 0 ? ` (used by at least ${count(min, 'trace')})` : '');
  }

  // Writes the count line and keeps the slider and number box on view.min.
  function showCounts(vis) {
    let text = countLine(vis.transitions.length, view.min);
    if (view.near && view.state >= 0) text += `, within ${NEAR_STEPS} steps of ${data.states[view.state].text}`;
    $('shown').textContent = text;
    let step = 0;
    while (step + 1 < thresholds.length && thresholds[step + 1] <= view.min) step++;
    $('min-range').value = String(step);
    $('min-number').value = String(view.min);
  }

  // Fits the drawing into its (resized) area again.
  function refit() {
    if (!drawing.panZoom) return;
    drawing.panZoom.resize();
    fitDrawing();
  }

  // Fits and centres the drawing, enlarging a small one at most MAX_FIT_ZOOM times.
  function fitDrawing() {
    const panZoom = drawing.panZoom;
    panZoom.fit();
    const realZoom = panZoom.getSizes().realZoom;
    if (realZoom > MAX_FIT_ZOOM) panZoom.zoom(panZoom.getZoom() * MAX_FIT_ZOOM / realZoom);
    panZoom.center();
  }

  // Shows `text` (and an optional control after it) over the drawing; '' hides it.
  function setStatus(text, control) {
    $('status').textContent = text;
    if (control) $('status').append(control);
    $('status').hidden = !text;
  }

  // ----------------------------------------------------------------- fragment

  // Reads "#min=N&state=ID&near=1&trace=L" (each part optional, values
  // URL-encoded); unknown or malformed parts are ignored.
  function readHash() {
    const wanted = {};
    for (const part of location.hash.replace(/^#/, '').split('&')) {
      const eq = part.indexOf('=');
      if (eq < 0) continue;
      let value = part.slice(eq + 1);
      try { value = decodeURIComponent(value); } catch (e) { /* keep it as written */ }
      wanted[part.slice(0, eq)] = value;
    }
    return wanted;
  }

  // Makes the fragment describe the view (setting the same text again is no
  // change, so the hashchange that follows finds nothing to do).
  function writeHash() {
    const parts = ['min=' + view.min];
    if (view.state >= 0) parts.push('state=' + encodeURIComponent(data.states[view.state].text));
    if (view.near && view.state >= 0) parts.push('near=1');
    if (view.trace) parts.push('trace=' + view.trace.line);
    const hash = '#' + parts.join('&');
    if (location.hash !== hash) location.hash = hash;
  }

  // Brings the view to what the fragment says and draws it.
  function applyHash() {
    const wanted = readHash();
    const min = /^\d+$/.test(wanted.min || '') ? Number(wanted.min) : startingMin(data.transitions);
    const state = wanted.state !== undefined && machine.stateIndex.has(wanted.state)
      ? machine.stateIndex.get(wanted.state) : -1;
    const moved = state !== view.state;
    view.min = min;
    if (moved) { view.state = state; view.transition = state >= 0 ? -1 : view.transition; }
    view.near = wanted.near === '1' && state >= 0;
    const line = /^\d+$/.test(wanted.trace || '') ? Number(wanted.trace) : 0;
    if (!line) view.trace = null;
    showPanel();
    draw().then(() => {
      showPanel();
      if (moved) focusState(state);
      if (line && (!view.trace || view.trace.line !== line)) showTrace(line);
    });
  }

  // ------------------------------------------------------------------- search

  // The states whose name holds `query` (case-insensitive), at most `limit`.
  function findStates(query, limit) {
    const q = query.trim().toLowerCase();
    const found = [];
    if (!q) return found;
    for (let i = 0; i < data.states.length && found.length < limit; i++) {
      if (data.states[i].name.toLowerCase().includes(q)) found.push(i);
    }
    return found;
  }

  function showMatches() {
    const list = $('matches');
    list.replaceChildren();
    const found = findStates($('search').value, MAX_MATCHES);
    for (const i of found) {
      const item = element('li');
      item.append(button(data.states[i].text, () => { list.hidden = true; selectState(i, true); }));
      list.append(item);
    }
    if (!found.length && $('search').value.trim()) list.append(element('li', 'no state has this name', 'note'));
    list.hidden = list.children.length === 0;
  }

  // ------------------------------------------------------------------- wiring

  // Clicks on the drawing select what they hit, unless the pointer was dragged
  // (a pan).
  function wireGraph() {
    const host = $('graph');
    let downAt = null;
    host.addEventListener('mousedown', (e) => { downAt = [e.clientX, e.clientY]; });
    host.addEventListener('click', (e) => {
      if (downAt && Math.hypot(e.clientX - downAt[0], e.clientY - downAt[1]) > 4) return;
      const node = e.target.closest('g.node[data-state]');
      const edge = e.target.closest('g.edge[data-from]');
      if (node) selectState(machine.stateIndex.get(node.dataset.state));
      else if (edge) selectTransition(Number(edge.id.slice(1)));
    });
  }

  function wireControls() {
    const range = $('min-range'), number = $('min-number');
    range.max = String(thresholds.length - 1);
    number.max = String(machine.maxCount);
    range.addEventListener('input', () => {
      const min = thresholds[Number(range.value)];
      $('shown').textContent = countLine(passing(min).length, min);
    });
    range.addEventListener('change', () => setMin(thresholds[Number(range.value)]));
    number.addEventListener('change', () => setMin(Number(number.value)));
    $('search').addEventListener('input', showMatches);
    $('search').addEventListener('keydown', (e) => {
      if (e.key === 'Escape') $('matches').hidden = true;
      if (e.key !== 'Enter') return;
      const found = findStates($('search').value, 1);
      if (found.length) { $('matches').hidden = true; selectState(found[0], true); }
    });
    const traceLine = () => Number($('trace-line').value);
    $('trace-show').addEventListener('click', () => showTrace(traceLine()));
    $('trace-line').addEventListener('keydown', (e) => { if (e.key === 'Enter') showTrace(traceLine()); });
    $('trace-clear').addEventListener('click', clearTrace);
    $('panel-close').addEventListener('click', () => {
      if (view.state >= 0) selectState(-1);
      else { view.transition = -1; showPanel(); applyMarks(); }
    });
    window.addEventListener('hashchange', applyHash);
    window.addEventListener('resize', refit);
  }

  function start() {
    $('heading').textContent = `${data.model} · ${data.log}`;
    const total = data.traces.length;
    $('summary').textContent = `accepted ${data.accepted} of ${total} traces`;
    $('trace-line').max = String(total);
    wireGraph();
    wireControls();
    applyHash();
  }

  start();
})();
