// The element at position `i` of a step's list, as a holder; null outside the list.
function(i) {
  const elements = this.elements;
  return i >= 0 && i < elements.length ? {element: elements[i]} : null;
}
