// A short text of the element, cut to `limit`: its tag name, the value of an attribute (null
// when it has none), or a value of its inline or its computed style.
function(what, name, limit) {
  const e = this.element;
  const text = what === 'tag' ? e.tagName
      : what === 'attribute' ? e.getAttribute(name)
      : what === 'style' ? e.style[name]
      : getComputedStyle(e)[name];
  return text === null ? null : String(text).slice(0, limit).toWellFormed();
}
