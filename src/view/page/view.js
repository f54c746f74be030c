// The interactive view of a learned machine: draws its states (or its
// activities, the states of one event name merged) and the transitions the
// minimum count or the ticked variants let through with Graphviz (viz.js),
// pans and zooms them, and shows states, transitions, variants and the runs
// of traces on demand. Everything it shows comes from the JSON in
// #logfsm-data; it makes no network request. Its graphs come from
// logfsmGraphs (graphs.js), their DOT text from logfsmDot (dot.js), the saved
// files from logfsmExport (export.js).
(function () {
  'use strict';

  const MAX_MATCHES = 50;        // search results listed at once
  const MAX_FIT_ZOOM = 1.5;      // how far fitting enlarges a small drawing
  const MIN_FIT_ZOOM = 0.7;      // fitting shrinks no further: text stays readable
  const CONFIRM_DRAWING = 2000;  // more transitions are drawn only when asked
  const VARIANT_ROWS = 100;      // variants listed at once

  const data = JSON.parse(document.getElementById('logfsm-data').textContent);
  const model = logfsmGraphs.model(data);
  const { NEAR_STEPS } = logfsmGraphs;
  const variantOf = variantOfTraces(data);
  const cases = data.cases || null;        // the case id of every line, or null
  const caseLines = caseLinesOf(cases);    // each case id's first line

  // What is shown; the fragment mirrors all but `edge`.
  const view = {
    mode: 'states',   // 'states' or 'activities'
    rankdir: '',      // 'TB' or 'LR' when asked, '' to choose the one that fits
    min: 0,
    node: -1,         // selected node of the current graph, or -1
    edge: -1,         // selected edge (panel only), or -1
    near: false,      // draw only the neighbourhood of the selected node
    trace: null,      // the trace whose run is highlighted, or null
    variants: new Set(),  // ticked variants (indices): draw only their runs
  };
  let graph = model.graphOf('states');

  // What the last finished drawing holds.
  const drawing = { nodes: new Map(), edges: new Map(), svg: null, panZoom: null, key: '', natural: null };
  let drawGeneration = 0;
  let vizPromise = null;
  let confirmedKey = '';  // the big drawing the user asked for
  let variantRows = VARIANT_ROWS;

  const $ = (id) => document.getElementById(id);
  const number = (n) => n.toLocaleString('en-US');
  const count = (n, noun) => `${number(n)} ${noun}${n === 1 ? '' : 's'}`;

  // ------------------------------------------------------------- the traces

  // The variant of every trace (index into data.variants).
  function variantOfTraces(d) {
    const of = new Int32Array(d.traces.length);
    d.variants.forEach((v, i) => { for (const line of v.lines) of[line - 1] = i; });
    return of;
  }

  // Each case id's first line (1-based); empty without case ids.
  function caseLinesOf(ids) {
    const lines = new Map();
    (ids || []).forEach((id, i) => { if (id && !lines.has(id)) lines.set(id, i + 1); });
    return lines;
  }

  // ------------------------------------------------------------------ drawing

  // The scale at which a laid-out drawing fits the drawing area: the larger,
  // the nearer its aspect ratio is to the area's for its size.
  function fitScale(svg) {
    const box = svg.viewBox.baseVal, host = $('graph');
    return Math.min(host.clientWidth / Math.max(1, box.width), host.clientHeight / Math.max(1, box.height));
  }

  // The visible set laid out: in the asked direction, or else the direction
  // whose drawing fits the area at the larger scale (a drawing too big to lay
  // out twice goes left to right).
  function layOut(viz, vis) {
    const render = (rankdir) => ({ rankdir, svg: viz.renderSVGElement(logfsmDot.build(graph, vis, rankdir)) });
    if (view.rankdir) return render(view.rankdir);
    const wide = render('LR');
    if (vis.edges.length > logfsmDot.QUICK_LAYOUT_ABOVE) return wide;
    const tall = render('TB');
    return fitScale(tall.svg) > fitScale(wide.svg) ? tall : wide;
  }

  // The key that tells whether the drawing on the page matches the view.
  function drawingKey() {
    const filter = view.variants.size ? 'v' + [...view.variants].join(',') : 'm' + view.min;
    return [view.mode, view.rankdir, filter, view.near ? view.node : -1].join('|');
  }

  // Lays out the visible set and puts it on the page, unless the same set is
  // drawn already. data-ready="1" on <html> stands exactly while a finished
  // drawing matches the view; a later call supersedes an earlier one. Sets
  // too big to lay out quickly wait for the user's word.
  async function draw() {
    const vis = model.visibleSet(graph, view);
    showCounts(vis);
    const key = drawingKey();
    const generation = ++drawGeneration;  // cancels any drawing still waiting
    if (key === drawing.key) {
      applyMarks();
      document.documentElement.dataset.ready = '1';
      setStatus('');
      return;
    }
    delete document.documentElement.dataset.ready;
    if (vis.edges.length > CONFIRM_DRAWING && confirmedKey !== key) {
      setStatus(`laying out ${vis.edges.length} transitions may take minutes, during which the page does ` +
        'not respond; raise the minimum count to see fewer, or ',
        button('draw them anyway', () => { confirmedKey = key; draw().then(showPanel); }));
      return;
    }
    setStatus(`laying out ${vis.nodes.length} nodes and ${vis.edges.length} transitions…`);
    try {
      vizPromise = vizPromise || Viz.instance();
      const viz = await vizPromise;
      // Let the status paint before the layout blocks the page.
      await new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve, 0)));
      if (generation !== drawGeneration) return;
      const laid = layOut(viz, vis);
      if (generation !== drawGeneration) return;
      document.documentElement.dataset.rankdir = laid.rankdir;
      install(laid.svg);
      $('rankdir-toggle').textContent = laid.rankdir === 'LR' ? 'left to right' : 'top to bottom';
      drawing.key = key;
      showLegend(vis);
      applyMarks();
      setStatus('');
      document.documentElement.dataset.ready = '1';
    } catch (error) {
      setStatus('cannot draw the machine: ' + (error && error.message ? error.message : error));
    }
  }

  // Tags a drawn node with its data-* attributes and a readable tooltip.
  function tagNode(g, n) {
    if (graph.mode === 'states') g.dataset.state = n.key;
    else g.dataset.activity = n.key;
    const title = g.querySelector('title');
    const copies = graph.mode === 'activities' && !n.initial ? ` (${count(n.states.length, 'state')})` : '';
    if (title) title.textContent = `${graph.mode === 'states' ? n.key : n.label}${copies}: ${count(n.traces, 'trace')}`;
  }

  // Tags a drawn edge with its data-* attributes and a readable tooltip.
  function tagEdge(g, e) {
    const from = graph.nodes[e.from], to = graph.nodes[e.to];
    if (graph.mode === 'states') {
      g.dataset.from = from.key;
      g.dataset.to = to.key;
    } else {
      g.dataset.fromActivity = from.key;
      g.dataset.toActivity = to.key;
    }
    g.dataset.traces = String(e.traces);
    const title = g.querySelector('title');
    const names = graph.mode === 'states' ? `${from.key} → ${to.key} (${e.track})` : `${from.label} → ${to.label}`;
    if (title) title.textContent = `${names}: ${count(e.traces, 'trace')}`;
  }

  // Puts a rendered SVG in place of the previous one: tags every node and
  // edge element, keeps the drawing's natural size (for export) and starts
  // pan and zoom on it.
  function install(svg) {
    drawing.nodes.clear();
    drawing.edges.clear();
    for (const g of svg.querySelectorAll('g.node, g.edge')) {
      const index = Number(g.id.slice(1));
      if (g.id[0] === 'n') { tagNode(g, graph.nodes[index]); drawing.nodes.set(index, g); }
      if (g.id[0] === 'e') { tagEdge(g, graph.edges[index]); drawing.edges.set(index, g); }
    }
    drawing.natural = ['width', 'height', 'viewBox'].map((a) => [a, svg.getAttribute(a)]);
    svg.setAttribute('width', '100%');
    svg.setAttribute('height', '100%');
    if (drawing.panZoom) drawing.panZoom.destroy();
    if (drawing.svg) drawing.svg.remove();
    $('graph').appendChild(svg);
    drawing.svg = svg;
    drawing.panZoom = svgPanZoom(svg, {
      fit: true, center: true, minZoom: 0.02, maxZoom: 50,
      controlIconsEnabled: true, dblClickZoomEnabled: false, zoomScaleSensitivity: 0.3,
    });
    fitDrawing();
  }

  // The legend of the edges' scale: the widths and colours of a few counts
  // from 1 to the largest drawn, with the largest count of all.
  function showLegend(vis) {
    const legend = $('legend');
    const max = vis.edges.reduce((m, e) => Math.max(m, graph.edges[e].traces), 0);
    legend.hidden = max === 0;
    if (!max) return;
    const samples = [...new Set([1, Math.round(Math.sqrt(max)), max])];
    const rows = samples.map((n) => {
      const pen = logfsmDot.edgePen(logfsmDot.strength(n, graph.maxCount));
      const row = element('div', undefined, 'legend-row');
      const svg = document.createElementNS('http://www.w3.org/2000/svg', 'svg');
      svg.setAttribute('width', '40');
      svg.setAttribute('height', '10');
      const line = document.createElementNS('http://www.w3.org/2000/svg', 'line');
      for (const [a, v] of [['x1', 2], ['y1', 5], ['x2', 38], ['y2', 5], ['stroke', pen.color],
        ['stroke-width', pen.width.toFixed(2)]]) line.setAttribute(a, String(v));
      svg.append(line);
      row.append(svg, element('span', count(n, 'trace')));
      return row;
    });
    legend.replaceChildren(element('div', 'traces per transition (log scale)', 'legend-title'), ...rows);
  }

  // Sets the classes of the drawn elements from the view: "selected" on the
  // selected node or edge, "run" on the highlighted trace's edges and nodes,
  // "stop" on the nodes a rejected trace stopped in; and the explanation line.
  function applyMarks() {
    showExplanation();
    showVariantMarks();
    if (!drawing.svg) return;
    for (const g of drawing.svg.querySelectorAll('.selected, .run, .stop')) {
      g.classList.remove('selected', 'run', 'stop');
    }
    const mark = (element, cls) => { if (element) element.classList.add(cls); };
    mark(drawing.nodes.get(view.node), 'selected');
    mark(drawing.edges.get(view.edge), 'selected');
    drawing.svg.classList.toggle('has-run', view.trace !== null);
    if (view.trace === null) return;
    for (const e of model.runEdges(graph, view.trace.run)) mark(drawing.edges.get(e), 'run');
    for (const n of model.runNodes(graph, view.trace.run)) mark(drawing.nodes.get(n), 'run');
    if (!view.trace.accepted) {
      for (const s of view.trace.stops || []) mark(drawing.nodes.get(graph.nodeOf[s]), 'stop');
    }
  }

  // Fits the drawing into its (resized) area again.
  function refit() {
    if (!drawing.panZoom) return;
    drawing.panZoom.resize();
    fitDrawing();
  }

  // Fits and centres the drawing, enlarging a small one at most MAX_FIT_ZOOM
  // times; one that would have to shrink below MIN_FIT_ZOOM is shown at that
  // zoom instead, centred along a side that fits and, along one that does
  // not, on its start (the initial node) as far as its edges allow.
  function fitDrawing() {
    const panZoom = drawing.panZoom;
    panZoom.fit();
    const realZoom = panZoom.getSizes().realZoom;
    if (realZoom > MAX_FIT_ZOOM) panZoom.zoom(panZoom.getZoom() * MAX_FIT_ZOOM / realZoom);
    panZoom.center();
    if (realZoom >= MIN_FIT_ZOOM) return;
    panZoom.zoom(panZoom.getZoom() * MIN_FIT_ZOOM / realZoom);
    const box = drawing.svg.querySelector('.svg-pan-zoom_viewport').getBBox();
    const start = drawing.nodes.get(graph.initial);
    const at = start ? centreOf(start) : { x: box.x, y: box.y };
    const { width, height } = panZoom.getSizes(), zoom = MIN_FIT_ZOOM, MARGIN = 12;
    const place = (size, low, extent, centre) => {
      if (extent * zoom <= size) return (size - extent * zoom) / 2 - low * zoom;
      return Math.min(MARGIN - low * zoom, Math.max(size - MARGIN - (low + extent) * zoom, size / 2 - centre * zoom));
    };
    panZoom.pan({ x: place(width, box.x, box.width, at.x), y: place(height, box.y, box.height, at.y) });
  }

  // The centre of a drawn element in the coordinates svg-pan-zoom moves and
  // scales: its box moved by the transforms between it and the viewport
  // (read from the attributes, so a zoom not yet painted does not matter).
  function centreOf(g) {
    const box = g.getBBox();
    let point = new DOMPoint(box.x + box.width / 2, box.y + box.height / 2);
    for (let e = g; e && !e.classList.contains('svg-pan-zoom_viewport'); e = e.parentElement) {
      const transform = e.transform.baseVal.consolidate();
      if (transform) point = point.matrixTransform(transform.matrix);
    }
    return point;
  }

  // ------------------------------------------------------------------- traces

  // The case id of the trace on `line`, or '' when it has none.
  function caseOf(line) {
    return cases ? cases[line - 1] || '' : '';
  }

  // How a trace is named to the user: by its case id where it has one, else
  // by its line.
  function traceName(line) {
    return caseOf(line) || String(line);
  }

  // Why a trace was rejected, as `logfsm check` explains it, after its case.
  function explain(trace) {
    const why = trace.accepted ? `line ${trace.line}: accepted` : trace.explanation;
    return (caseOf(trace.line) ? `case ${caseOf(trace.line)}, ` : '') + why;
  }

  // Highlights the run of the trace on `line` (1-based) and explains it; a
  // line outside the log clears the highlight and says so.
  function showTrace(line) {
    view.trace = data.traces[line - 1] || null;
    applyMarks();
    if (view.trace) {
      $('trace-line').value = traceName(line);
    } else {
      noTrace(`there is no trace ${line} (the log has ${data.traces.length})`);
    }
    writeHash();
  }

  // Says in the explanation line that a trace asked for does not exist.
  function noTrace(text) {
    $('explanation').hidden = false;
    $('explanation').classList.add('rejected');
    $('explanation').textContent = text;
  }

  // The lines of the traces whose case id holds `query` (case-insensitive),
  // at most `limit`, an exact match first.
  function findCases(query, limit) {
    const q = query.trim().toLowerCase();
    const found = caseLines.has(query.trim()) ? [caseLines.get(query.trim())] : [];
    if (!q) return found;
    for (const [id, line] of caseLines) {
      if (found.length >= limit) break;
      if (id.toLowerCase().includes(q) && line !== found[0]) found.push(line);
    }
    return found;
  }

  // Shows the trace the box names: a line number, or with case ids the
  // case it matches.
  function showTraceBox() {
    const text = $('trace-line').value.trim();
    $('case-matches').hidden = true;
    if (!cases || /^\d+$/.test(text) && !caseLines.has(text)) { showTrace(Number(text)); return; }
    const found = findCases(text, 1);
    if (found.length) showTrace(found[0]);
    else noTrace(`no case id holds "${text}"`);
  }

  // Lists the cases whose id holds what the box says.
  function showCaseMatches() {
    const list = $('case-matches');
    list.replaceChildren();
    if (!cases) return;
    for (const line of findCases($('trace-line').value, MAX_MATCHES)) {
      const item = element('li');
      item.append(button(`${caseOf(line)} (line ${line})`, () => { list.hidden = true; showTrace(line); }));
      list.append(item);
    }
    list.hidden = list.children.length === 0;
  }

  // Takes the highlight off the run of the highlighted trace.
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
    const run = model.runEdges(graph, trace.run);
    const hidden = run.filter((e) => !drawing.edges.has(e)).length;
    box.textContent = explain(trace) +
      (hidden ? ` (${hidden} of the run's ${run.length} transitions are not drawn)` : '');
  }

  // ----------------------------------------------------------------- variants

  // A variant's events as one line of text.
  function variantText(v) {
    return v.events.map((n) => data.names[n]).join(' → ') || '(no events)';
  }

  // Lists the first `variantRows` variants, most traces first: a tick box,
  // the count, the share of all traces and the share up to it, and the
  // events; clicking a row highlights its first trace's run.
  function showVariants() {
    const list = $('variant-list'), total = Math.max(1, data.traces.length);
    list.replaceChildren();
    let cumulative = 0;
    data.variants.forEach((v, i) => {
      cumulative += v.count;
      if (i >= variantRows) return;
      const tick = element('input');
      tick.type = 'checkbox';
      tick.dataset.variant = String(i);
      tick.setAttribute('aria-label', `draw only variant ${i + 1}`);
      tick.addEventListener('change', () => tickVariant(i, tick.checked));
      const share = (n) => (100 * n / total).toFixed(1) + '%';
      const row = element('li', undefined, 'variant');
      row.dataset.variant = String(i);
      const show = button('', () => showTrace(v.lines[0]), 'variant-run');
      show.append(element('span', `${i + 1}. ${count(v.count, 'trace')}`, 'variant-count'),
        element('span', `${share(v.count)} · Σ ${share(cumulative)}`, 'variant-share'),
        element('span', variantText(v), 'variant-events'));
      if (cases) {
        const first = v.lines.slice(0, 3).map(caseOf).join(', ');
        show.append(element('span', `cases ${first}${v.count > 3 ? ', …' : ''}`, 'variant-cases'));
      }
      show.title = variantText(v);
      row.append(tick, show);
      list.append(row);
    });
    $('variants-more').hidden = variantRows >= data.variants.length;
    $('variants-summary').textContent =
      `${count(data.variants.length, 'variant')} of ${count(data.traces.length, 'trace')}`;
    showVariantMarks();
  }

  // Keeps the tick boxes on the ticked variants and marks the row of the
  // highlighted trace's variant.
  function showVariantMarks() {
    const current = view.trace ? variantOf[view.trace.line - 1] : -1;
    for (const row of $('variant-list').children) {
      const i = Number(row.dataset.variant);
      row.classList.toggle('current', i === current);
      row.querySelector('input').checked = view.variants.has(i);
    }
    $('variants-clear').disabled = !view.variants.size;
  }

  // Ticks or unticks variant `i`: the drawing shows only the runs of the
  // ticked ones (the minimum count again when none is ticked).
  function tickVariant(i, ticked) {
    if (ticked) view.variants.add(i);
    else view.variants.delete(i);
    writeHash();
    draw().then(showPanel);
  }

  // Opens or closes the variants panel (listing them when first opened).
  function toggleVariants() {
    const panel = $('variants');
    panel.hidden = !panel.hidden;
    if (!panel.hidden && !$('variant-list').children.length) showVariants();
    refit();
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

  // An element `tag` with `text` as its text and class `cls` (both optional).
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
    for (const line of examples) {
      const b = button(traceName(line), () => showTrace(line));
      b.title = `line ${line}`;
      box.append(b);
    }
    if (total > examples.length) box.append(element('span', `(${examples.length} of ${number(total)})`, 'note'));
    return box;
  }

  // How a node is named in lists: a state by its text, an activity by name.
  function nodeName(i) {
    const n = graph.nodes[i];
    return graph.mode === 'states' ? n.key : n.label;
  }

  // A list of edges, most used first, each leading to the node at its other
  // end; edges not drawn are marked.
  function edgeList(indices, otherEnd) {
    const list = element('ul', undefined, 'transitions');
    const sorted = indices.slice().sort((a, b) => graph.edges[b].traces - graph.edges[a].traces);
    for (const e of sorted) {
      const other = otherEnd(graph.edges[e]);
      const item = element('li', undefined, drawing.edges.has(e) ? '' : 'hidden-transition');
      item.append(button(nodeName(other), () => selectNode(other, true)),
        element('span', ` · ${number(graph.edges[e].traces)}`, 'count'));
      list.append(item);
    }
    if (!sorted.length) list.append(element('li', 'none', 'note'));
    return list;
  }

  // The panel's lines about node `i`: its name, what it is, how many traces
  // use it; for an activity the states merged into it.
  function nodeFacts(i) {
    const n = graph.nodes[i];
    const used = 'used by ' + count(n.traces, 'trace');
    if (graph.mode === 'states') {
      return [element('h2', n.label), element('p', n.key, 'id'),
        element('p', [n.accepting ? 'accepting' : 'not accepting', n.initial ? 'initial' : 'not initial', used]
          .join(' · '))];
    }
    const states = element('div', undefined, 'traces');
    for (const s of n.states) states.append(button(data.states[s].text, () => showState(s)));
    return [element('h2', n.label), element('p', [n.initial ? 'the initial state' : 'activity', used].join(' · ')),
      element('h3', `states (${n.states.length})`), states];
  }

  // Fills the side panel with the selected node or edge.
  function showPanel() {
    const body = $('panel-body');
    body.replaceChildren();
    const hidden = view.node < 0 && view.edge < 0;
    if ($('panel').hidden !== hidden) {
      $('panel').hidden = hidden;
      refit();
    }
    if (view.node >= 0) {
      const i = view.node, n = graph.nodes[i];
      body.append(...nodeFacts(i));
      if (!drawing.nodes.has(i) && !view.near) body.append(element('p', 'not drawn in this view', 'note'));
      body.append(view.near
        ? button('show the whole view', () => setNear(false))
        : button('show neighbourhood', () => setNear(true)));
      body.append(element('h3', `incoming (${graph.incoming[i].length})`), edgeList(graph.incoming[i], (e) => e.from),
        element('h3', `outgoing (${graph.outgoing[i].length})`), edgeList(graph.outgoing[i], (e) => e.to),
        element('h3', 'traces'), traceButtons(n.examples, n.traces));
    } else if (view.edge >= 0) {
      const e = graph.edges[view.edge];
      const merged = graph.mode === 'activities' ? ` · ${count(e.transitions.length, 'transition')} merged` : '';
      body.append(element('h2', e.track), element('p', 'used by ' + count(e.traces, 'trace') + merged),
        element('h3', 'from'), button(nodeName(e.from), () => selectNode(e.from, true)),
        element('h3', 'to'), button(nodeName(e.to), () => selectNode(e.to, true)),
        element('h3', 'traces'), traceButtons(e.examples, e.traces));
    }
  }

  // --------------------------------------------------------------- selection

  // Selects node `i` (-1: none), brought to the middle of the drawing when
  // `focus`; in the neighbourhood view the drawing follows the selection.
  function selectNode(i, focus) {
    view.node = i;
    view.edge = -1;
    if (i < 0) view.near = false;
    writeHash();
    showPanel();
    draw().then(() => {
      showPanel();
      if (focus) focusNode(i);
    });
  }

  // Shows state `s` in the state view, selected.
  function showState(s) {
    switchMode('states');
    selectNode(s, true);
  }

  // Unless node `i` is in sight at natural size or larger already: zooms in
  // to natural size if the drawing is shown smaller, and pans the node to the
  // middle. Nothing when it is not drawn.
  function focusNode(i) {
    const node = drawing.nodes.get(i), panZoom = drawing.panZoom;
    if (!node || !panZoom) return;
    const centre = centreOf(node);
    const { width, height, realZoom } = panZoom.getSizes(), pan = panZoom.getPan();
    const x = centre.x * realZoom + pan.x, y = centre.y * realZoom + pan.y;
    if (realZoom >= 1 && x > 0 && x < width && y > 0 && y < height) return;
    if (realZoom < 1) panZoom.zoom(panZoom.getZoom() / realZoom);
    const zoom = panZoom.getSizes().realZoom;
    panZoom.pan({ x: width / 2 - centre.x * zoom, y: height / 2 - centre.y * zoom });
  }

  // Selects edge `i` of the current graph and shows it in the panel.
  function selectEdge(i) {
    view.node = -1;
    view.edge = i;
    view.near = false;
    writeHash();
    showPanel();
    draw().then(showPanel);
  }

  // Draws only the neighbourhood of the selected node, or all again.
  function setNear(near) {
    view.near = near && view.node >= 0;
    writeHash();
    draw().then(showPanel);
  }

  // Draws the edges used by at least `min` traces (a whole number, at least 0).
  function setMin(min) {
    view.min = Math.max(0, Math.floor(min) || 0);
    writeHash();
    draw().then(showPanel);
  }

  // The node of `to` standing for node `i` of `from`: an activity for each
  // of its states, a state for an activity of one state; else -1.
  function carryNode(i, from, to) {
    if (i < 0) return -1;
    const states = from.nodes[i].states;
    if (to.mode === 'activities') return to.nodeOf[states[0]];
    return states.length === 1 ? states[0] : -1;
  }

  // The edge of `to` standing for edge `i` of `from`, as carryNode does.
  function carryEdge(i, from, to) {
    if (i < 0) return -1;
    const transitions = from.edges[i].transitions;
    if (to.mode === 'activities') return to.edgeOf[transitions[0]];
    return transitions.length === 1 ? transitions[0] : -1;
  }

  // Switches between the state and the activity view, keeping the minimum
  // count, the highlighted trace, the ticked variants and the selection
  // where the other view has it.
  function switchMode(mode) {
    if (mode === view.mode) return;
    const to = model.graphOf(mode);
    view.node = carryNode(view.node, graph, to);
    view.edge = view.node >= 0 ? -1 : carryEdge(view.edge, graph, to);
    view.near = view.near && view.node >= 0;
    view.mode = mode;
    graph = to;
    showMode();
  }

  // Makes the controls show the current mode and its slider's range.
  function showMode() {
    document.documentElement.dataset.mode = view.mode;
    $('mode-toggle').textContent = view.mode === 'states' ? 'show activities' : 'show states';
    $('search').placeholder = view.mode === 'states' ? 'find a state' : 'find an activity';
    $('min-range').max = String(graph.thresholds.length - 1);
    $('min-number').max = String(graph.maxCount);
  }

  // The word for an edge in the current mode.
  function edgeNoun() {
    return view.mode === 'states' ? 'transitions' : 'activity transitions';
  }

  // "showing X of Y transitions (used by at least N traces)".
  function countLine(shown, min) {
    const of = `showing ${number(shown)} of ${number(graph.edges.length)} ${edgeNoun()}`;
    if (view.variants.size) return of + ` (the runs of ${count(view.variants.size, 'variant')})`;
    return of + (min > 0 ? ` (used by at least ${count(min, 'trace')})` : '');
  }

  // Writes the count line and keeps the slider and number box on view.min.
  function showCounts(vis) {
    let text = countLine(vis.edges.length, view.min);
    if (view.near && view.node >= 0) text += `, within ${NEAR_STEPS} steps of ${nodeName(view.node)}`;
    $('shown').textContent = text;
    let step = 0;
    while (step + 1 < graph.thresholds.length && graph.thresholds[step + 1] <= view.min) step++;
    $('min-range').value = String(step);
    $('min-number').value = String(view.min);
  }

  // Shows `text` (and an optional control after it) over the drawing; '' hides it.
  function setStatus(text, control) {
    $('status').textContent = text;
    if (control) $('status').append(control);
    $('status').hidden = !text;
  }

  // ----------------------------------------------------------------- fragment

  // Reads "#mode=activities&rankdir=TB&min=N&state=ID&activity=NAME&near=1&
  // trace=L&case=ID&variants=1,2" (each part optional, values URL-encoded);
  // unknown or malformed parts are ignored.
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
    const parts = [];
    if (view.mode !== 'states') parts.push('mode=' + view.mode);
    if (view.rankdir) parts.push('rankdir=' + view.rankdir);
    parts.push('min=' + view.min);
    if (view.node >= 0) {
      parts.push((view.mode === 'states' ? 'state=' : 'activity=') + encodeURIComponent(graph.nodes[view.node].key));
    }
    if (view.near && view.node >= 0) parts.push('near=1');
    if (view.trace) {
      const id = caseOf(view.trace.line);
      parts.push(id ? 'case=' + encodeURIComponent(id) : 'trace=' + view.trace.line);
    }
    if (view.variants.size) {
      parts.push('variants=' + [...view.variants].sort((a, b) => a - b).map((v) => v + 1).join(','));
    }
    const hash = '#' + parts.join('&');
    if (location.hash !== hash) location.hash = hash;
  }

  // The ticked variants a fragment names (1-based, comma-separated).
  function wantedVariants(text) {
    const ranks = (text || '').split(',').filter((r) => /^\d+$/.test(r)).map(Number);
    return new Set(ranks.filter((r) => r >= 1 && r <= data.variants.length).map((r) => r - 1));
  }

  // Brings the view to what the fragment says and draws it.
  function applyHash() {
    const wanted = readHash();
    const mode = wanted.mode === 'activities' ? 'activities' : 'states';
    const switched = mode !== view.mode;
    if (switched) { view.mode = mode; graph = model.graphOf(mode); view.edge = -1; showMode(); }
    view.rankdir = wanted.rankdir === 'TB' || wanted.rankdir === 'LR' ? wanted.rankdir : '';
    view.min = /^\d+$/.test(wanted.min || '') ? Number(wanted.min) : logfsmGraphs.startingMin(graph);
    const key = mode === 'states' ? wanted.state : wanted.activity;
    const node = key !== undefined && graph.keys.has(key) ? graph.keys.get(key) : -1;
    const moved = node !== view.node || switched;
    if (moved) { view.node = node; view.edge = node >= 0 ? -1 : view.edge; }
    view.near = wanted.near === '1' && node >= 0;
    view.variants = wantedVariants(wanted.variants);
    const line = wanted.case !== undefined ? caseLines.get(wanted.case) || 0
      : /^\d+$/.test(wanted.trace || '') ? Number(wanted.trace) : 0;
    if (!line) view.trace = null;
    showPanel();
    draw().then(() => {
      showPanel();
      if (moved && node >= 0) focusNode(node);
      if (line && (!view.trace || view.trace.line !== line)) showTrace(line);
      if (!line && wanted.case !== undefined) noTrace(`the log has no case "${wanted.case}"`);
    });
  }

  // ------------------------------------------------------------------- search

  // The nodes whose name holds `query` (case-insensitive), at most `limit`.
  function findNodes(query, limit) {
    const q = query.trim().toLowerCase();
    const found = [];
    if (!q) return found;
    for (let i = 0; i < graph.nodes.length && found.length < limit; i++) {
      if (graph.nodes[i].label.toLowerCase().includes(q)) found.push(i);
    }
    return found;
  }

  // Lists the nodes whose name holds what the search box says.
  function showMatches() {
    const list = $('matches');
    list.replaceChildren();
    const found = findNodes($('search').value, MAX_MATCHES);
    for (const i of found) {
      const item = element('li');
      item.append(button(nodeName(i), () => { list.hidden = true; selectNode(i, true); }));
      list.append(item);
    }
    if (!found.length && $('search').value.trim()) list.append(element('li', 'nothing has this name', 'note'));
    list.hidden = list.children.length === 0;
  }

  // ------------------------------------------------------------------- export


  // The name of an exported file: the model's stem, the mode, the extension.
  function exportName(extension) {
    const stem = String(data.model).split(/[\\/]/).pop().replace(/\.json$/i, '') || 'logfsm';
    return `${stem}_${view.mode}.${extension}`;
  }

  // Saves the drawing as `kind` ('svg' or 'png'); nothing before it is drawn.
  function exportDrawing(kind) {
    if (!drawing.svg) return;
    const { svgText, png, save } = logfsmExport;
    if (kind === 'svg') {
      save(new Blob([svgText(drawing.svg, drawing.natural)], { type: 'image/svg+xml' }), exportName('svg'));
    } else {
      png(drawing.svg, drawing.natural).then((blob) => save(blob, exportName('png')));
    }
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
      const node = e.target.closest('g.node'), edge = e.target.closest('g.edge');
      if (node && drawing.nodes.get(Number(node.id.slice(1))) === node) selectNode(Number(node.id.slice(1)));
      else if (edge && drawing.edges.get(Number(edge.id.slice(1))) === edge) selectEdge(Number(edge.id.slice(1)));
    });
  }

  // The slider and number box set the minimum count; moving the slider
  // previews how many edges it lets through.
  function wireFilter() {
    const range = $('min-range'), box = $('min-number');
    range.addEventListener('input', () => {
      const min = graph.thresholds[Number(range.value)];
      $('shown').textContent = countLine(logfsmGraphs.passing(graph, min).length, min);
    });
    range.addEventListener('change', () => setMin(graph.thresholds[Number(range.value)]));
    box.addEventListener('change', () => setMin(Number(box.value)));
  }

  // Wires the bar, the panels and the window to what they do.
  function wireControls() {
    wireFilter();
    $('search').addEventListener('input', showMatches);
    $('search').addEventListener('keydown', (e) => {
      if (e.key === 'Escape') $('matches').hidden = true;
      if (e.key !== 'Enter') return;
      const found = findNodes($('search').value, 1);
      if (found.length) { $('matches').hidden = true; selectNode(found[0], true); }
    });
    $('trace-show').addEventListener('click', showTraceBox);
    $('trace-line').addEventListener('input', showCaseMatches);
    $('trace-line').addEventListener('keydown', (e) => {
      if (e.key === 'Escape') $('case-matches').hidden = true;
      if (e.key === 'Enter') showTraceBox();
    });
    $('trace-clear').addEventListener('click', clearTrace);
    $('panel-close').addEventListener('click', () => {
      if (view.node >= 0) selectNode(-1);
      else { view.edge = -1; showPanel(); applyMarks(); }
    });
    $('mode-toggle').addEventListener('click', () => {
      switchMode(view.mode === 'states' ? 'activities' : 'states');
      writeHash();
    });
    $('rankdir-toggle').addEventListener('click', () => {
      view.rankdir = document.documentElement.dataset.rankdir === 'LR' ? 'TB' : 'LR';
      writeHash();
    });
    $('variants-toggle').addEventListener('click', toggleVariants);
    $('variants-close').addEventListener('click', toggleVariants);
    $('variants-more').addEventListener('click', () => { variantRows += VARIANT_ROWS; showVariants(); });
    $('variants-clear').addEventListener('click', () => {
      view.variants.clear();
      writeHash();
      draw().then(showPanel);
    });
    $('export-svg').addEventListener('click', () => exportDrawing('svg'));
    $('export-png').addEventListener('click', () => exportDrawing('png'));
    window.addEventListener('hashchange', applyHash);
    window.addEventListener('resize', refit);
  }

  // Fills the bar from the data, wires the controls and shows the view the
  // fragment asks for.
  function start() {
    $('heading').textContent = `${data.model} · ${data.log}`;
    const total = data.traces.length;
    $('summary').textContent = `accepted ${number(data.accepted)} of ${count(total, 'trace')}`;
    $('trace-line').max = String(total);
    if (cases) {
      $('trace-line').type = 'search';
      $('trace-line').placeholder = 'case id';
      $('trace-line').setAttribute('aria-label', 'case id or trace line');
    }
    showMode();
    wireGraph();
    wireControls();
    applyHash();
  }

  start();
})();
