// Whether the element holds editable text: an input whose type holds text, or (unless only a
// single line will do) a text area. The browser reads an unknown type as text.
function(singleLine) {
  const e = this.element, tag = e.tagName.toUpperCase();
  if (tag === 'TEXTAREA') return !singleLine;
  return tag === 'INPUT' &&
      ['text', 'password', 'search', 'email', 'url', 'tel', 'number'].includes(e.type);
}
