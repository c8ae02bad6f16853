// What the selection tests need of up to `count` positions of a step's list, from `first` on
// by `step`. Only A, INPUT and TEXTAREA can pass the tag test, and an INPUT of type "hidden"
// fails the next one, so only for the others is it found out whether they are shown: neither
// they nor an ancestor up to the root have visibility "hidden" or display "none". Each
// ancestor's own style is read at most once per step, and only while everything above it is
// shown. Once an element turns out to be inside one that is not shown, every position the walk
// would meet next inside that one fails the last test whatever it is, and is passed over
// without being looked at. So a step costs the same however deep the page nests its elements,
// and little for what the page hides. Long windows are what this is for, and the answer is kept
// to one number a position: [kinds, entries], each kind a distinct [tag name, type or null]
// pair (the type only for INPUT, both cut to `limit`), each entry twice its kind's number, plus
// 1 when the element is shown; or -n for the next n positions, all inside an element not shown.
function(first, step, count, limit) {
  const elements = this.elements, known = this.shown;
  const kinds = [], tags = new Map(), typed = new Map();
  const kind = (tag, type) => {
    kinds.push([tag.slice(0, limit).toWellFormed(),
                type === null ? null : type.slice(0, limit).toWellFormed()]);
    return kinds.length - 1;
  };
  // For each tag name: its kind, and whether it is 'A' or 'TEXTAREA' (1) or 'INPUT' (2).
  const tagKind = tag => {
    let k = tags.get(tag);
    if (k === undefined) {
      const upper = tag.length <= 8 ? tag.toUpperCase() : '';
      k = [kind(tag, null), upper === 'INPUT' ? 2 : upper === 'A' || upper === 'TEXTAREA' ? 1 : 0];
      tags.set(tag, k);
    }
    return k;
  };
  const inputKind = (tag, type) => {
    const key = tag + '\n' + type;
    let n = typed.get(key);
    if (n === undefined) {
      n = kind(tag, type);
      typed.set(key, n);
    }
    return n;
  };
  const own = e => {
    const style = getComputedStyle(e);
    return style.visibility !== 'hidden' && style.display !== 'none';
  };
  // True when `element` and everything above it are shown; otherwise the outermost of them that
  // is not. Learnt for each of them on the way.
  const shownFrom = element => {
    const unknown = [];
    let above = true;
    for (let e = element; e; e = e.parentElement) {
      const s = known.get(e);
      if (s !== undefined) {
        above = s;
        break;
      }
      unknown.push(e);
    }
    for (let i = unknown.length - 1; i >= 0; --i) {
      if (above === true && !own(unknown[i])) above = unknown[i];
      known.set(unknown[i], above);
    }
    return above;
  };
  // The same for an element the walk meets; neighbours mostly share their parent.
  let lastParent, lastParentShown;
  const shown = e => {
    const parent = e.parentElement;
    if (parent !== lastParent) {
      lastParent = parent;
      lastParentShown = parent ? shownFrom(parent) : true;
    }
    if (lastParentShown !== true) return lastParentShown;
    return own(e) ? true : e;
  };
  // How many positions after `e`'s the walk meets inside `outer`, `e` or an ancestor of it:
  // forward the rest of its descendants, backward those before `e`, and `outer` itself.
  const inside = (e, outer) => {
    if (e === outer && (step < 0 || !outer.firstElementChild)) return 0;
    const all = outer.getElementsByTagName('*');
    let k = -1;
    if (e !== outer) {
      let low = 0, high = all.length;
      while (low < high) {
        const mid = (low + high) >> 1;
        if (all[mid].compareDocumentPosition(e) & Node.DOCUMENT_POSITION_FOLLOWING) low = mid + 1;
        else high = mid;
      }
      k = low;
    }
    return step > 0 ? all.length - k - 1 : k + 1;
  };
  const out = [];
  for (let i = first, n = 0; n < count && i >= 0 && i < elements.length; i += step, ++n) {
    const e = elements[i];
    const tag = e.tagName;
    const k = tagKind(tag);
    let number = k[0], s = false;
    if (k[1] !== 0) {
      const type = k[1] === 2 ? e.getAttribute('type') : null;
      if (type !== null) number = inputKind(tag, type);
      if (type !== 'hidden') s = shown(e);
    }
    out.push(2 * number + (s === true));
    if (s !== true && s !== false) {
      const run = Math.min(inside(e, s), count - n - 1);
      if (run > 0) {
        out.push(-run);
        i += step * run;
        n += run;
      }
    }
  }
  return [kinds, out];
}
