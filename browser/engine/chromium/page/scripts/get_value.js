// A field's whole text, however long.
function() {
  const e = this.element, tag = e.tagName.toUpperCase();
  if (tag !== 'INPUT' && tag !== 'TEXTAREA') throw new TypeError('no value');
  return e.value.toWellFormed();
}
