// How many elements a step's list holds.
function() { return this.elements.length; }
