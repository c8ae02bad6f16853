// The page's own handlers run, then the element's default action.
function() {
  const e = this.element;
  if (typeof e.click === 'function') e.click();
  else e.dispatchEvent(new MouseEvent('click', {bubbles: true, cancelable: true, view: window}));
  return true;
}
