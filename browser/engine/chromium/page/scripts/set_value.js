// Writes a field's text, the whole `text` or (with `append`) added at the end of what it
// holds, through the value setter of the field's own type: a page's framework may watch
// assignments to the element, and this write must reach the field's value whatever it watches.
// With `told`, the page then hears of it as of text a user inserted or replaced: an input event
// carrying the text, then a change event, both bubbling. What their handlers do is the page's:
// an error they throw stays with them, and a value they rewrite stays rewritten. Tells whether
// anything may have changed: after the events, anything may have.
function(text, append, told) {
  const e = this.element;
  const type = e instanceof HTMLInputElement ? HTMLInputElement
      : e instanceof HTMLTextAreaElement ? HTMLTextAreaElement : null;
  if (type === null) throw new TypeError('no value');
  const value = Object.getOwnPropertyDescriptor(type.prototype, 'value');
  const before = value.get.call(e);
  value.set.call(e, append ? before.toWellFormed() + text : text);
  if (!told) return value.get.call(e) !== before;
  e.dispatchEvent(new InputEvent('input', {
    bubbles: true,
    inputType: append ? 'insertText' : 'insertReplacementText',
    data: text,
  }));
  e.dispatchEvent(new Event('change', {bubbles: true}));
  return true;
}
