// Sets the element's inline style properties, [property, value] pairs; tells whether its
// inline style changed.
function(values) {
  const style = this.element.style, before = style.cssText;
  for (const [p, v] of values) style[p] = v;
  return style.cssText !== before;
}
