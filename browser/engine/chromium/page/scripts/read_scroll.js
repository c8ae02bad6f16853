// On the document: the scroll height, width, top and left of its root element and of its body,
// null before both exist.
function() {
  const r = document.documentElement, b = document.body;
  if (!r || !b) return null;
  const m = e => [e.scrollHeight, e.scrollWidth, e.scrollTop, e.scrollLeft];
  return [m(r), m(b)];
}
