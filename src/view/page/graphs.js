// The graphs the view draws, made from the page's data: the machine as it
// is (a node per state, an edge per transition) and its activities (a node
// per event name, the states of that name merged), with the traces that use
// each node and edge, the runs of traces as nodes and edges, and which part
// of a graph a view shows. Plain computation over the data: no page, no
// drawing.
const logfsmGraphs = (function () {
  'use strict';

  const MAX_FIRST_SHOWN = 80;  // edges shown at most in the first view
  const NEAR_STEPS = 2;        // how far the neighbourhood view reaches
  const EXAMPLES = 20;         // example lines kept per activity and edge

  // The graphs of `data` and what works on them. Each node has a label, a
  // key (a state's text or an activity's name), its states, its counts and
  // flags; each edge its ends (node indices), track, transitions and counts.
  function model(data) {
    const machine = indexMachine(data);
    const graphs = {};  // per mode, made on first use

    // Each state's text "NAME(ID)" (as the model file writes it, also kept
    // on the state) and the map back to its index, the ends of every
    // transition and the first initial state.
    function indexMachine(d) {
      const stateIndex = new Map();
      d.states.forEach((s, i) => {
        s.text = `${s.name}(${s.id})`;
        stateIndex.set(s.text, i);
      });
      const from = Int32Array.from(d.transitions, (t) => t.from);
      const to = Int32Array.from(d.transitions, (t) => t.to);
      return { stateIndex, from, to, initial: d.states.findIndex((s) => s.initial) };
    }

    // The graph of a mode, made on first use.
    function graphOf(mode) {
      if (!graphs[mode]) graphs[mode] = mode === 'activities' ? activityGraph() : stateGraph();
      return graphs[mode];
    }

    // The machine as it is: a node per state, an edge per transition, with
    // the counts and examples of the data.
    function stateGraph() {
      const nodes = data.states.map((s, i) => ({
        label: s.name, key: s.text, id: s.id, traces: s.traces, examples: s.examples,
        initial: s.initial, accepting: s.accepting, states: [i],
      }));
      const edges = data.transitions.map((t, i) => ({
        from: t.from, to: t.to, track: t.track, traces: t.traces, examples: t.examples, transitions: [i],
      }));
      const keys = new Map(nodes.map((n, i) => [n.key, i]));
      return finishGraph('states', nodes, edges, Int32Array.from(nodes.keys()), Int32Array.from(edges.keys()), keys);
    }

    // One node per event name, every state of that name merged into it, and
    // the initial state as a node of its own (key ""); one edge per pair of
    // nodes that transitions join. Counts are those of the traces whose
    // counted runs visit a merged state or take a merged transition, each
    // trace once per node or edge.
    function activityGraph() {
      const nodes = [{ label: 'start', key: '', initial: true, accepting: false, states: [] }];
      const keys = new Map([['', 0]]);
      const nodeOf = new Int32Array(data.states.length);
      data.states.forEach((s, i) => {
        if (!s.initial && !keys.has(s.name)) {
          keys.set(s.name, nodes.length);
          nodes.push({ label: s.name, key: s.name, initial: false, accepting: false, states: [] });
        }
        const n = s.initial ? 0 : keys.get(s.name);
        nodeOf[i] = n;
        nodes[n].states.push(i);
        nodes[n].accepting = nodes[n].accepting || s.accepting;
      });
      const edges = [], edgeIndex = new Map(), edgeOf = new Int32Array(data.transitions.length);
      data.transitions.forEach((t, i) => {
        const pair = nodeOf[t.from] * nodes.length + nodeOf[t.to];
        if (!edgeIndex.has(pair)) {
          edgeIndex.set(pair, edges.length);
          edges.push({ from: nodeOf[t.from], to: nodeOf[t.to], track: t.track, transitions: [] });
        }
        edgeOf[i] = edgeIndex.get(pair);
        edges[edgeOf[i]].transitions.push(i);
      });
      const g = finishGraph('activities', nodes, edges, nodeOf, edgeOf, keys);
      countTraces(g);
      return g;
    }

    // The parts every graph has besides its nodes and edges: each node's
    // incoming and outgoing edges, its initial node, the per-run caches.
    function finishGraph(mode, nodes, edges, nodeOf, edgeOf, keys) {
      const outgoing = nodes.map(() => []), incoming = nodes.map(() => []);
      edges.forEach((e, i) => { outgoing[e.from].push(i); incoming[e.to].push(i); });
      const g = {
        mode, nodes, edges, nodeOf, edgeOf, keys, outgoing, incoming,
        initial: machine.initial < 0 ? -1 : nodeOf[machine.initial],
        runEdges: new Array(data.runs.length), runNodes: new Array(data.runs.length),
      };
      if (g.initial < 0 && mode === 'activities') g.initial = 0;
      updateThresholds(g);
      return g;
    }

    // Counts, for every node and edge of `g`, the accepted traces whose run
    // touches it, keeping the first EXAMPLES lines.
    function countTraces(g) {
      for (const x of g.nodes.concat(g.edges)) { x.traces = 0; x.examples = []; }
      const tally = (x, line) => { x.traces++; if (x.examples.length < EXAMPLES) x.examples.push(line); };
      for (const trace of data.traces) {
        if (!trace.accepted) continue;
        for (const e of runEdges(g, trace.run)) tally(g.edges[e], trace.line);
        for (const n of runNodes(g, trace.run)) tally(g.nodes[n], trace.line);
      }
      updateThresholds(g);
    }

    // The edges of `g` that run `r` takes, each once.
    function runEdges(g, r) {
      if (!g.runEdges[r]) g.runEdges[r] = [...new Set((data.runs[r] || []).map((t) => g.edgeOf[t]))];
      return g.runEdges[r];
    }

    // The nodes of `g` that run `r` visits: its initial node and the ends of
    // its edges, each once.
    function runNodes(g, r) {
      if (!g.runNodes[r]) {
        const nodes = new Set(g.initial >= 0 ? [g.initial] : []);
        for (const e of runEdges(g, r)) { nodes.add(g.edges[e].from); nodes.add(g.edges[e].to); }
        g.runNodes[r] = [...nodes];
      }
      return g.runNodes[r];
    }

    // The edges of `g` that the runs of `variants` (indices) take.
    function variantEdges(g, variants) {
      const edges = new Set();
      for (const v of variants) {
        for (const e of runEdges(g, data.traces[data.variants[v].lines[0] - 1].run)) edges.add(e);
      }
      return [...edges].sort((a, b) => a - b);
    }

    // The nodes and edges of `g` to draw in `view`: the edges passing the
    // minimum count (or those of the ticked variants' runs), the nodes they
    // touch and the initial node (every node with min 0 and no variant
    // ticked); in the neighbourhood view only those within reach of the
    // selected node.
    function visibleSet(g, view) {
      let edges = view.variants.size ? variantEdges(g, view.variants) : passing(g, view.min);
      let nodes;
      if (view.near && view.node >= 0) {
        nodes = neighbourhood(g, view.node, edges);
        edges = edges.filter((e) => nodes.has(g.edges[e].from) && nodes.has(g.edges[e].to));
      } else if (view.min === 0 && !view.variants.size) {
        nodes = new Set(g.nodes.keys());
      } else {
        nodes = new Set(g.initial >= 0 ? [g.initial] : []);
        for (const e of edges) { nodes.add(g.edges[e].from); nodes.add(g.edges[e].to); }
      }
      return { nodes: [...nodes].sort((a, b) => a - b), edges };
    }

    return { machine, graphOf, runEdges, runNodes, visibleSet };
  }

  // The largest count and the slider's stops: 0 and every count an edge has,
  // ascending.
  function updateThresholds(g) {
    g.maxCount = g.edges.reduce((m, e) => Math.max(m, e.traces), 0);
    g.thresholds = [...new Set([0, ...g.edges.map((e) => e.traces)])].sort((a, b) => a - b);
  }

  // The smallest minimum count that lets at most MAX_FIRST_SHOWN edges of
  // `g` through; 0 when there are no more than that.
  function startingMin(g) {
    if (g.edges.length <= MAX_FIRST_SHOWN) return 0;
    const counts = g.edges.map((e) => e.traces).sort((a, b) => b - a);
    return counts[MAX_FIRST_SHOWN] + 1;
  }

  // The edges of `g` with at least `min` traces (every one with min 0).
  function passing(g, min) {
    const out = [];
    g.edges.forEach((e, i) => { if (e.traces >= min) out.push(i); });
    return out;
  }

  // The nodes of `g` within NEAR_STEPS steps of `centre` in either
  // direction, moving along the given edges only; `centre` itself always
  // belongs.
  function neighbourhood(g, centre, edges) {
    const allowed = new Uint8Array(g.edges.length);
    for (const e of edges) allowed[e] = 1;
    const reached = new Set([centre]);
    let frontier = [centre];
    for (let step = 0; step < NEAR_STEPS; step++) {
      const next = [];
      for (const n of frontier) {
        for (const e of g.outgoing[n].concat(g.incoming[n])) {
          const other = g.edges[e].from === n ? g.edges[e].to : g.edges[e].from;
          if (allowed[e] && !reached.has(other)) { reached.add(other); next.push(other); }
        }
      }
      frontier = next;
    }
    return reached;
  }

  return { model, startingMin, passing, MAX_FIRST_SHOWN, NEAR_STEPS };
})();
