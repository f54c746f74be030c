// Saving the drawing as the user sees it: an SVG document or a PNG image of
// the whole drawing at its natural size, every shape in the colours, widths
// and opacity it is shown with (highlights included), saved through a blob:
// URL that never leaves the page. The PNG is painted shape by shape onto a
// canvas, so the page needs no image source its security policy forbids.
const logfsmExport = (function () {
  'use strict';

  const SVG_NS = 'http://www.w3.org/2000/svg';
  const PAINTED = 'path, polygon, polyline, ellipse, text';
  const VIEWPORT = '.svg-pan-zoom_viewport';  // the group pan and zoom move

  // The opacity `el` is shown with: its own times its ancestors' up to `svg`.
  function shownOpacity(el, svg) {
    let opacity = 1;
    for (let e = el; e && e !== svg; e = e.parentElement) opacity *= Number(getComputedStyle(e).opacity);
    return opacity;
  }

  // The matrix from `el`'s coordinates to the drawing's natural ones: the
  // transforms between it and the pan and zoom group.
  function toNatural(el) {
    let matrix = new DOMMatrix();
    for (let e = el; e && !e.matches(VIEWPORT); e = e.parentElement) {
      const transform = e.transform && e.transform.baseVal.consolidate();
      if (transform) matrix = DOMMatrix.fromMatrix(transform.matrix).multiply(matrix);
    }
    return matrix;
  }

  // The drawing `svg` as a standalone SVG document with the attributes
  // `natural` (its width, height and viewBox as Graphviz wrote them).
  function svgText(svg, natural) {
    const copy = svg.cloneNode(true);
    const shown = svg.querySelectorAll(PAINTED), copies = copy.querySelectorAll(PAINTED);
    shown.forEach((el, i) => {
      const style = getComputedStyle(el);
      for (const p of ['fill', 'stroke', 'stroke-width', 'stroke-dasharray']) {
        copies[i].setAttribute(p, style.getPropertyValue(p));
      }
      copies[i].setAttribute('opacity', String(shownOpacity(el, svg)));
    });
    for (const control of copy.querySelectorAll('#svg-pan-zoom-controls')) control.remove();
    const viewport = copy.querySelector(VIEWPORT);
    viewport.removeAttribute('transform');
    viewport.removeAttribute('style');
    for (const [name, value] of natural) if (value !== null) copy.setAttribute(name, value);
    copy.removeAttribute('style');
    copy.removeAttribute('class');
    copy.setAttribute('xmlns', SVG_NS);
    const xml = new XMLSerializer().serializeToString(copy);
    return `<?xml version="1.0" encoding="UTF-8" standalone="no"?>\n${xml}\n`;
  }

  // The outline of a drawn shape as a canvas path.
  function shapePath(el) {
    if (el.tagName === 'path') return new Path2D(el.getAttribute('d'));
    const path = new Path2D();
    if (el.tagName === 'ellipse') {
      const a = (name) => el[name].baseVal.value;
      path.ellipse(a('cx'), a('cy'), a('rx'), a('ry'), 0, 0, 2 * Math.PI);
      return path;
    }
    [...el.points].forEach((p, i) => (i ? path.lineTo(p.x, p.y) : path.moveTo(p.x, p.y)));
    if (el.tagName === 'polygon') path.closePath();
    return path;
  }

  // Paints one shape or text as shown, its transform already set.
  function paintShape(context, el, style) {
    context.fillStyle = style.fill;
    if (el.tagName === 'text') {
      context.font = `${style.fontStyle} ${style.fontWeight} ${style.fontSize} ${style.fontFamily}`;
      context.textAlign = { middle: 'center', end: 'right' }[style.textAnchor] || 'left';
      context.fillText(el.textContent, el.x.baseVal[0].value, el.y.baseVal[0].value);
      return;
    }
    const path = shapePath(el);
    if (style.fill !== 'none') context.fill(path);
    if (style.stroke === 'none') return;
    context.strokeStyle = style.stroke;
    context.lineWidth = parseFloat(style.strokeWidth) || 1;
    context.setLineDash(style.strokeDasharray === 'none' ? [] : style.strokeDasharray.split(/[ ,]+/).map(parseFloat));
    context.stroke(path);
  }

  // The drawing `svg` as a PNG image (a promise of its blob), twice its
  // natural size (`natural`, as for svgText) where that fits a canvas, on
  // white.
  function png(svg, natural) {
    const box = new Map(natural).get('viewBox').split(/[ ,]+/).map(Number);
    const width = box[2], height = box[3];
    const scale = Math.min(2, 16000 / width, 16000 / height, Math.sqrt(1e8 / (width * height)));
    const canvas = document.createElement('canvas');
    canvas.width = Math.ceil(width * scale);
    canvas.height = Math.ceil(height * scale);
    const context = canvas.getContext('2d');
    context.fillStyle = '#fff';
    context.fillRect(0, 0, canvas.width, canvas.height);
    for (const el of svg.querySelector(VIEWPORT).querySelectorAll(PAINTED)) {
      const m = toNatural(el);
      context.setTransform(scale * m.a, scale * m.b, scale * m.c, scale * m.d, scale * m.e, scale * m.f);
      context.globalAlpha = shownOpacity(el, svg);
      paintShape(context, el, getComputedStyle(el));
    }
    return new Promise((resolve) => canvas.toBlob(resolve, 'image/png'));
  }

  // Saves `blob` as a file named `name`.
  function save(blob, name) {
    const url = URL.createObjectURL(blob);
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  return { svgText, png, save };
})();
