// Sets the element's scrollTop or scrollLeft, `p`, to `v`, at once; tells whether it moved.
function(p, v) {
  const e = this.element, before = e[p];
  e.scrollTo({[p === 'scrollTop' ? 'top' : 'left']: v, behavior: 'instant'});
  return e[p] !== before;
}
