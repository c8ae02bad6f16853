// On the document: the element that has the focus, as a holder.
function() {
  const e = document.activeElement;
  return e ? {element: e} : null;
}
