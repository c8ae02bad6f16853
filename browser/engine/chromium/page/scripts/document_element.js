// On the document: its root element, as a holder.
function() {
  const e = document.documentElement;
  return e ? {element: e} : null;
}
