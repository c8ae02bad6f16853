#pragma once
// The functions that run inside the page, in the module's own script world, one per DOM
// operation. Arguments arrive as JSON values. An element the module holds is a holder,
// {element}, of that world: the protocol describes an object it hands out, and for an element
// that description carries the page's id and class names, of any length and not always well
// formed text. A holder is described as a plain object. Every text an answer carries is well
// formed, and those the module only compares are cut short. Functions that change the page
// return whether anything visible may have changed, so that the next print knows to wait for
// the new picture.
namespace Brovis::Engine::Scripts {

// How long a text the module only compares may be, in UTF-16 code units: longer than any tag
// name or value it looks for, and so short that no page can make an answer of them large.
inline constexpr int kShortTextLimit = 64;

// A short text of the element, cut to `limit`: its tag name, the value of an attribute (null
// when it has none), or a value of its inline or its computed style.
inline constexpr const char* kShortText = R"(function(what, name, limit) {
  const e = this.element;
  const text = what === 'tag' ? e.tagName
      : what === 'attribute' ? e.getAttribute(name)
      : what === 'style' ? e.style[name]
      : getComputedStyle(e)[name];
  return text === null ? null : String(text).slice(0, limit).toWellFormed();
})";
inline constexpr const char* kParentElement = R"(function() {
  const parent = this.element.parentElement;
  return parent ? {element: parent} : null;
})";
// A selection step's list: every element inside this one, in document order, and what the step
// has found out so far about which of them are shown. It lives as long as the step holds it.
inline constexpr const char* kAll = R"(function() {
  return {elements: this.element.getElementsByTagName('*'), shown: new Map()};
})";
inline constexpr const char* kLength = "function() { return this.elements.length; }";
inline constexpr const char* kItem = R"(function(i) {
  const elements = this.elements;
  return i >= 0 && i < elements.length ? {element: elements[i]} : null;
})";

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
inline constexpr const char* kFacts = R"(function(first, step, count, limit) {
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
})";

// Whether the element holds editable text: an input whose type holds text, or (unless only a
// single line will do) a text area. The browser reads an unknown type as text.
inline constexpr const char* kIsTextField = R"(function(singleLine) {
  const e = this.element, tag = e.tagName.toUpperCase();
  if (tag === 'TEXTAREA') return !singleLine;
  return tag === 'INPUT' &&
      ['text', 'password', 'search', 'email', 'url', 'tel', 'number'].includes(e.type);
})";

// The page's own handlers run, then the element's default action.
inline constexpr const char* kClick = R"(function() {
  const e = this.element;
  if (typeof e.click === 'function') e.click();
  else e.dispatchEvent(new MouseEvent('click', {bubbles: true, cancelable: true, view: window}));
  return true;
})";

// Jumps, whatever scroll behaviour the page's style asks for: the display shows the result of a
// command at its next redraw, not an animation. Tells whether anything moved (where the element
// is in the view, where the document is scrolled to): an element already in view moves nothing.
inline constexpr const char* kScrollIntoView = R"(function(top) {
  const e = this.element, d = document.scrollingElement;
  const where = () => {
    const r = e.getBoundingClientRect();
    return [r.top, r.left, d ? d.scrollTop : 0, d ? d.scrollLeft : 0];
  };
  const before = where();
  e.scrollIntoView({block: top ? 'start' : 'end', inline: 'nearest', behavior: 'instant'});
  return where().some((v, i) => v !== before[i]);
})";
inline constexpr const char* kGetScroll = "function(p) { return this.element[p]; }";
inline constexpr const char* kSetScroll = R"(function(p, v) {
  const e = this.element, before = e[p];
  e.scrollTo({[p === 'scrollTop' ? 'top' : 'left']: v, behavior: 'instant'});
  return e[p] !== before;
})";
inline constexpr const char* kSetStyles = R"(function(values) {
  const style = this.element.style, before = style.cssText;
  for (const [p, v] of values) style[p] = v;
  return style.cssText !== before;
})";

// A field's whole text, however long.
inline constexpr const char* kGetValue = R"(function() {
  const e = this.element, tag = e.tagName.toUpperCase();
  if (tag !== 'INPUT' && tag !== 'TEXTAREA') throw new TypeError('no value');
  return e.value.toWellFormed();
})";
inline constexpr const char* kSetValue = R"(function(v) {
  const e = this.element, tag = e.tagName.toUpperCase();
  if (tag !== 'INPUT' && tag !== 'TEXTAREA') throw new TypeError('no value');
  const before = e.value;
  e.value = v;
  return e.value !== before;
})";

// Functions on the document, called with `this` = the world's global object.
inline constexpr const char* kBody = R"(function() {
  const e = document.body;
  return e ? {element: e} : null;
})";
inline constexpr const char* kDocumentElement = R"(function() {
  const e = document.documentElement;
  return e ? {element: e} : null;
})";
inline constexpr const char* kActiveElement = R"(function() {
  const e = document.activeElement;
  return e ? {element: e} : null;
})";
inline constexpr const char* kElementFromPoint = R"(function(x, y) {
  const e = document.elementFromPoint(x, y);
  return e ? {element: e} : null;
})";
inline constexpr const char* kReadScroll = R"(function() {
  const r = document.documentElement, b = document.body;
  if (!r || !b) return null;
  const m = e => [e.scrollHeight, e.scrollWidth, e.scrollTop, e.scrollLeft];
  return [m(r), m(b)];
})";
inline constexpr const char* kWriteScroll = R"(function(top, left) {
  const r = document.documentElement, b = document.body;
  if (!r || !b) return null;
  const m = e => [e.scrollHeight, e.scrollWidth, e.scrollTop, e.scrollLeft];
  const read = [m(r), m(b)];
  b.scrollTo({top: top, behavior: 'instant'});
  r.scrollTo({top: top, behavior: 'instant'});
  b.scrollTo({left: left, behavior: 'instant'});
  r.scrollTo({left: left, behavior: 'instant'});
  const after = [m(r), m(b)];
  return [read, JSON.stringify(read) !== JSON.stringify(after)];
})";

}  // namespace Brovis::Engine::Scripts
