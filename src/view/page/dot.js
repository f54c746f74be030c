// The DOT text the view hands to Graphviz for the visible part of a graph
// (logfsmGraphs): node and edge ids that lead back to the graph, labels with
// names and counts, and an edge pen that grows with the traces an edge
// carries, on a log scale.
const logfsmDot = (function () {
  'use strict';

  const MAX_LABELLED = 60;         // drawings with more name no events on edges
  const WRAP = 22;                 // characters per line of a name
  const QUICK_LAYOUT_ABOVE = 400;  // bigger drawings get the quick layout
  // Fewer rounds of crossing reduction and placement, straight edges: keeps
  // the layout of many transitions to seconds, not minutes.
  const QUICK_LAYOUT = ', mclimit=0.1, nslimit=1, nslimit1=1, searchsize=10, remincross=false, splines=line';
  const FONT = 'Helvetica,Arial,sans-serif';

  const number = (n) => n.toLocaleString('en-US');

  // A DOT double-quoted string holding `text` literally (line breaks become
  // centred line breaks).
  function dotString(text) {
    return '"' + String(text).replace(/[\\"]/g, '\\$&').replace(/\r\n|\r|\n/g, '\\n') + '"';
  }

  // How strongly an edge with `traces` of at most `max` is drawn, from 0
  // (no trace) to 1 (the most used), on a log scale.
  function strength(traces, max) {
    return traces > 0 ? Math.log1p(traces) / Math.log1p(Math.max(1, max)) : 0;
  }

  // The pen width and colour of an edge of strength `f`: wider and darker
  // as it carries more traces.
  function edgePen(f) {
    const light = [173, 181, 189], dark = [16, 32, 64];
    const mix = light.map((c, i) => Math.round(c + (dark[i] - c) * f));
    return { width: 0.8 + 4.7 * f, color: '#' + mix.map((c) => c.toString(16).padStart(2, '0')).join('') };
  }

  // `text` broken at spaces into lines of at most WRAP characters where
  // its words allow: long names make narrow boxes.
  function wrapped(text) {
    const lines = [];
    for (const word of text.split(' ')) {
      const last = lines.length - 1;
      if (last >= 0 && lines[last].length + 1 + word.length <= WRAP) lines[last] += ' ' + word;
      else lines.push(word);
    }
    return lines.join('\n');
  }

  // The line of node `i` of `g`: its name over its id (states) and its
  // count; the initial node filled, accepting ones doubled.
  function nodeLine(g, i) {
    const n = g.nodes[i];
    const label = `${wrapped(n.label)}\n${g.mode === 'states' ? `(${n.id}) · ` : ''}${number(n.traces)}`;
    let attrs = `id="n${i}", label=${dotString(label)}`;
    if (n.accepting) attrs += ', peripheries=2';
    if (n.initial) attrs += ', style="rounded,filled,bold", fillcolor="#d0ebff"';
    return `n${i} [${attrs}];`;
  }

  // The line of edge `i` of `g`: its pen, its count and, when `named`, its
  // event; dashed when no trace uses it.
  function edgeLine(g, i, named) {
    const e = g.edges[i], pen = edgePen(strength(e.traces, g.maxCount));
    const label = (named ? wrapped(e.track) + ' · ' : '') + number(e.traces);
    let attrs = `id="e${i}", penwidth=${pen.width.toFixed(2)}, color="${pen.color}", label=${dotString(label)}`;
    if (e.traces === 0) attrs += ', style=dashed';
    return `n${e.from} -> n${e.to} [${attrs}];`;
  }

  // The DOT text of the visible set `vis` of `g` in direction `rankdir`.
  // Node and edge ids are "n<node index>" and "e<edge index>"; edges are
  // labelled with their count, after their event in small state drawings.
  function build(g, vis, rankdir) {
    const named = g.mode === 'states' && vis.edges.length <= MAX_LABELLED;
    return [
      'digraph logfsm {',
      `graph [rankdir=${rankdir}, nodesep=0.2, ranksep=0.35, bgcolor="transparent"` +
        (vis.edges.length > QUICK_LAYOUT_ABOVE ? QUICK_LAYOUT : '') + '];',
      `node [shape=box, style=rounded, fontname="${FONT}", fontsize=14, margin="0.1,0.03", height=0.3];`,
      `edge [fontname="${FONT}", fontsize=13, arrowsize=0.7, fontcolor="#212529"];`,
      ...vis.nodes.map((i) => nodeLine(g, i)),
      ...vis.edges.map((i) => edgeLine(g, i, named)),
      '}',
    ].join('\n');
  }

  return { build, edgePen, strength, QUICK_LAYOUT_ABOVE };
})();
