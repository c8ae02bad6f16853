// The element's parent element, as a holder; null at the root.
function() {
  const parent = this.element.parentElement;
  return parent ? {element: parent} : null;
}
