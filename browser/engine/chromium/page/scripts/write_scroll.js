// On the document: scrolls its root element and its body to `top` and `left`, at once; answers
// the scroll before, as read_scroll.js reads it, and whether anything moved.
function(top, left) {
  const r = document.documentElement, b = document.body;
  if (!r || !b) return null;
  const m = e => [e.scrollHeight, e.scrollWidth, e.scrollTop, e.scrollLeft];
  const read = [m(r), m(b)];
  b.scrollTo({top: top, behavior: 'instant'});
  r.scrollTo({top: top, behavior: 'instant'});
  b.scrollTo({left: left, behavior: 'instant'});
  r.scrollTo({left: left, behavior: 'instant'});
  const after = [m(r), m(b)];
  return [read, JSON.stringify(read) !== JSON.stringify(after)];
}
