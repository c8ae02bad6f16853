// Jumps, whatever scroll behaviour the page's style asks for: the display shows the result of a
// command at its next redraw, not an animation. Tells whether anything moved (where the element
// is in the view, where the document is scrolled to): an element already in view moves nothing.
function(top) {
  const e = this.element, d = document.scrollingElement;
  const where = () => {
    const r = e.getBoundingClientRect();
    return [r.top, r.left, d ? d.scrollTop : 0, d ? d.scrollLeft : 0];
  };
  const before = where();
  e.scrollIntoView({block: top ? 'start' : 'end', inline: 'nearest', behavior: 'instant'});
  return where().some((v, i) => v !== before[i]);
}
