// A selection step's list: every element inside this one, in document order, and what the step
// has found out so far about which of them are shown. It lives as long as the step holds it.
function() {
  return {elements: this.element.getElementsByTagName('*'), shown: new Map()};
}
