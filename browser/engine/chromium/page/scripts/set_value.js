// Sets a field's text; tells whether it changed.
function(v) {
  const e = this.element, tag = e.tagName.toUpperCase();
  if (tag !== 'INPUT' && tag !== 'TEXTAREA') throw new TypeError('no value');
  const before = e.value;
  e.value = v;
  return e.value !== before;
}
