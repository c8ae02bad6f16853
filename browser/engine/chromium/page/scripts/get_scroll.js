// One of the element's scroll properties, named by `p`.
function(p) { return this.element[p]; }
