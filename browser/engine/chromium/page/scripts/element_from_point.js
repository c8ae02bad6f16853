// On the document: the topmost element at a point of the view, as a holder.
function(x, y) {
  const e = document.elementFromPoint(x, y);
  return e ? {element: e} : null;
}
