// On the document, called with `this` = the world's global object: its body, as a holder.
function() {
  const e = document.body;
  return e ? {element: e} : null;
}
