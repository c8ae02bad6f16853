// What the selection tests need of up to `count` positions of a step's list, from `first` on
// by `step`. Only A, INPUT and TEXTAREA can pass the tag test, and an INPUT of type "hidden"
// fails the next one, so only for the others is it found out whether they are shown: neither
// they nor an ancestor up to the root have visibility "hidden" or display "none". Each
// ancestor's own style is read at most once per step, and only while everything above it is
// shown. Once an element turns out to be inside one that is not shown, every position the walk
// would meet next inside that one fails the last test whatever it is, and is passed over
// without being looked at. So a step costs the same however deep the page nests its elements,
// and little for what the page hides. Only for an element that is shown is it found out whether
// scrolling can bring it into view (see reachable below). Long windows are what this is for,
// and the answer is kept to one number a position: [kinds, entries], each kind a distinct
// [tag name, type or null] pair (the type only for INPUT, both cut to `limit`), each entry four
// times its kind's number, plus 1 when the element is shown and 2 more when it is also within
// reach; or -n for the next n positions, all inside an element not shown.
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
  // Whether scrolling can bring a shown element into view: the engine renders it (nothing
  // around it skips its content, as a closed <details> does), and one of its boxes does not lie
  // wholly left of or above where the area begins that the innermost scroll container moving it
  // can scroll into view; nor does that container's own inside, for the next one out, and so on
  // up to the document, or up to the view for what is fixed to it. A box that ends where an
  // area begins lies before it; one of no width or height counts by where it starts.
  const root = document.documentElement, body = document.body;
  const levels = new Map();
  // An element's style as the test reads it, with its position (0 in the flow, 1 absolute, 2
  // fixed); whether it holds what is fixed inside it, whether it scrolls and whether its inside
  // can be brought into view come when asked.
  const level = e => {
    let l = levels.get(e);
    if (l === undefined) {
      const style = getComputedStyle(e), p = style.position;
      l = {style, mode: p === 'fixed' ? 2 : p === 'absolute' ? 1 : 0, positioned: p !== 'static'};
      levels.set(e, l);
    }
    return l;
  };
  const holdsFixed = l => {
    if (l.holdsFixed === undefined) {
      const s = l.style;
      l.holdsFixed = s.transform !== 'none' || s.translate !== 'none' || s.rotate !== 'none' ||
          s.scale !== 'none' || s.perspective !== 'none' || s.filter !== 'none' ||
          s.backdropFilter !== 'none' || /paint|layout|strict|content/.test(s.contain) ||
          /size/.test(s.containerType) || /transform|perspective|filter/.test(s.willChange);
    }
    return l.holdsFixed;
  };
  // The root's overflow is the view's, and so is the body's while the root's is visible.
  const clips = v => v === 'visible' || v === 'clip';
  const scrolls = (e, l) => {
    if (l.scrolls === undefined) {
      const s = l.style;
      l.scrolls = !(clips(s.overflowX) && clips(s.overflowY)) &&
          !(e === body && level(root).style.overflowX === 'visible' &&
            level(root).style.overflowY === 'visible');
    }
    return l.scrolls;
  };
  // Whether an area grows from where it starts out toward the left (axis 0) or upward (1): right
  // to left text, lines from right to left, reversed flex lines. Its offset along that axis then
  // counts down from 0.
  const growsBack = (s, flexible, axis) => {
    const writing = s.writingMode, across = writing === 'horizontal-tb';
    const rtl = s.direction === 'rtl';
    const flex = flexible && (s.display === 'flex' || s.display === 'inline-flex') ?
        s.flexDirection : '';
    if (axis === 0)
      return (across ? rtl : writing === 'vertical-rl' || writing === 'sideways-rl') !==
          (flex === (across ? 'row-reverse' : 'column-reverse'));
    return (across ? false : rtl !== (writing === 'sideways-lr')) !==
        (flex === (across ? 'column-reverse' : 'row-reverse'));
  };
  // Where an area begins along one axis, given where its box's inside begins: its offset is
  // told by the sign, and only an area scrolled to 0 that can scroll needs its style read.
  const begin = (edge, offset, client, extent, back) =>
      edge - offset - (offset < 0 || offset === 0 && extent > client && back() ? extent - client : 0);
  // The view's coordinates of a scroll container's inside, and of the beginning of its area.
  const measure = (c, l) => {
    const b = c.getBoundingClientRect(), left = b.left + c.clientLeft, top = b.top + c.clientTop;
    const width = c.clientWidth, height = c.clientHeight;
    l.inside = {left, top, right: left + width, bottom: top + height, width, height};
    l.start = [begin(left, c.scrollLeft, width, c.scrollWidth, () => growsBack(l.style, true, 0)),
               begin(top, c.scrollTop, height, c.scrollHeight, () => growsBack(l.style, true, 1))];
  };
  // The document's area; the body's writing mode and direction are the view's.
  let page;
  const pageStart = () => {
    if (page === undefined) {
      const d = document.scrollingElement || root, s = getComputedStyle(body || root);
      page = [begin(0, d.scrollLeft, d.clientWidth, d.scrollWidth, () => growsBack(s, false, 0)),
              begin(0, d.scrollTop, d.clientHeight, d.scrollHeight, () => growsBack(s, false, 1))];
    }
    return page;
  };
  const view = [0, 0];
  // The innermost scroll container that moves an element inside `a` positioned as `mode`;
  // where the document's or the view's area begins when none does. Kept for each level and
  // mode on the way, so that a deep page costs each level once a call.
  const movers = new Map();
  const mover = (a, mode) => {
    const path = [];
    let found;
    for (;;) {
      if (a === null || a === root) {
        found = mode === 2 && !(a && holdsFixed(level(a))) ? view : pageStart();
        break;
      }
      const kept = movers.get(a);
      if (kept !== undefined && kept[mode] !== undefined) {
        found = kept[mode];
        break;
      }
      path.push([a, mode]);
      const l = level(a);
      if (mode === 0 || (mode === 1 && l.positioned) || holdsFixed(l)) {
        if (scrolls(a, l)) {
          found = a;
          break;
        }
        mode = l.mode;
      }
      a = a.parentElement;
    }
    for (const [a, mode] of path) {
      let kept = movers.get(a);
      if (kept === undefined) movers.set(a, kept = []);
      kept[mode] = found;
    }
    return found;
  };
  const before = (b, [x, y]) =>
      (b.width > 0 ? b.right <= x : b.left < x) || (b.height > 0 ? b.bottom <= y : b.top < y);
  const startOf = m => {
    if (Array.isArray(m)) return m;
    const l = levels.get(m);
    if (l.start === undefined) measure(m, l);
    return l.start;
  };
  // Whether a scroll container's inside can be brought into view, through every container
  // out to the top; learnt for each of them on the way.
  const insideReachable = c => {
    const path = [];
    let reached = true;
    for (let m = c; !Array.isArray(m); ) {
      const l = levels.get(m);
      if (l.reached !== undefined) {
        reached = l.reached;
        break;
      }
      if (l.inside === undefined) measure(m, l);
      path.push(l);
      const next = mover(m.parentElement, l.mode);
      if (before(l.inside, startOf(next))) {
        reached = false;
        break;
      }
      m = next;
    }
    for (const l of path) l.reached = reached;
    return reached;
  };
  const reachable = e => {
    if (!e.checkVisibility()) return false;
    const boxes = e.getClientRects();
    const m = mover(e.parentElement, level(e).mode), start = startOf(m);
    let some = false;
    for (let i = 0; i < boxes.length && !some; ++i) some = !before(boxes[i], start);
    return some && (Array.isArray(m) || insideReachable(m));
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
    out.push(4 * number + (s === true ? (reachable(e) ? 3 : 1) : 0));
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
