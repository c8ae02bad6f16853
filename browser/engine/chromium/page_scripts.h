#pragma once
// The functions that run inside the page, one per DOM operation. Each is called on its element
// (`this`) with its arguments as JSON values. Ones that change the page return whether anything
// visible may have changed, so that the next print knows to wait for the new picture.
namespace Brovis::Engine::Scripts {

inline constexpr const char* kTagName = "function() { return this.tagName; }";
inline constexpr const char* kParentElement = "function() { return this.parentElement; }";
// A selection step's list: every element inside this one, in document order, and what the step
// has found out so far about which of them are shown. It lives as long as the step holds it.
inline constexpr const char* kAll =
    "function() { return {elements: this.getElementsByTagName('*'), shown: new Map()}; }";
inline constexpr const char* kLength = "function() { return this.elements.length; }";
inline constexpr const char* kItem = R"(function(i) {
  const elements = this.elements;
  return i >= 0 && i < elements.length ? elements[i] : null;
})";

// What the selection tests need of up to `count` positions of a step's list, from `first` on
// by `step`. Only A, INPUT and TEXTAREA can pass the tag test, so only for them is it found
// out whether they are shown: neither they nor an ancestor up to the root have visibility
// "hidden" or display "none". Each ancestor's own style is read at most once per step, and
// only while everything above it is shown, so that a step costs the same however deep the page
// nests its elements. Long windows are what this is for, and the answer is kept to one number
// a position: [kinds, entries], each kind a distinct [tag name, type or null] pair (the type
// only for INPUT), each entry twice its kind's number, plus 1 when the element is shown.
inline constexpr const char* kFacts = R"(function(first, step, count) {
  const elements = this.elements, known = this.shown;
  const kinds = [], numbers = new Map();
  const kind = (tag, type) => {
    const key = type === null ? tag : tag + '\n' + type;
    let n = numbers.get(key);
    if (n === undefined) {
      n = kinds.length;
      kinds.push([tag, type]);
      numbers.set(key, n);
    }
    return n;
  };
  const own = e => {
    const style = getComputedStyle(e);
    return style.visibility !== 'hidden' && style.display !== 'none';
  };
  // Whether `element` and everything above it are shown, learnt for each of them on the way.
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
      if (above) above = own(unknown[i]);
      known.set(unknown[i], above);
    }
    return above;
  };
  // Neighbours mostly share their parent.
  let lastParent, lastParentShown;
  const shown = e => {
    const parent = e.parentElement;
    if (parent !== lastParent) {
      lastParent = parent;
      lastParentShown = parent ? shownFrom(parent) : true;
    }
    return lastParentShown && own(e);
  };
  const out = [];
  for (let i = first, n = 0; n < count && i >= 0 && i < elements.length; i += step, ++n) {
    const e = elements[i];
    const tag = e.tagName;
    const upper = tag.length <= 8 ? tag.toUpperCase() : '';
    if (upper === 'A' || upper === 'TEXTAREA')
      out.push(2 * kind(tag, null) + shown(e));
    else if (upper === 'INPUT')
      out.push(2 * kind(tag, e.getAttribute('type')) + shown(e));
    else
      out.push(2 * kind(tag, null));
  }
  return [kinds, out];
})";

// Whether the element holds editable text: an input whose type holds text, or (unless only a
// single line will do) a text area. The browser reads an unknown type as text.
inline constexpr const char* kIsTextField = R"(function(singleLine) {
  const tag = String(this.tagName).toUpperCase();
  if (tag === 'TEXTAREA') return !singleLine;
  return tag === 'INPUT' &&
      ['text', 'password', 'search', 'email', 'url', 'tel', 'number'].includes(this.type);
})";

inline constexpr const char* kClick = R"(function() {
  if (typeof this.click === 'function') this.click();
  else this.dispatchEvent(new MouseEvent('click', {bubbles: true, cancelable: true, view: window}));
  return true;
})";

// Jumps, whatever scroll behaviour the page's style asks for: the display shows the result of a
// command at its next redraw, not an animation.
inline constexpr const char* kScrollIntoView = R"(function(top) {
  this.scrollIntoView({block: top ? 'start' : 'end', inline: 'nearest', behavior: 'instant'});
  return true;
})";
inline constexpr const char* kGetAttribute = "function(name) { return this.getAttribute(name); }";
inline constexpr const char* kGetScroll = "function(p) { return this[p]; }";
inline constexpr const char* kSetScroll = R"(function(p, v) {
  const before = this[p];
  this.scrollTo({[p === 'scrollTop' ? 'top' : 'left']: v, behavior: 'instant'});
  return this[p] !== before;
})";
inline constexpr const char* kGetStyle = "function(p) { return this.style[p]; }";
inline constexpr const char* kSetStyles = R"(function(values) {
  const before = this.style.cssText;
  for (const [p, v] of values) this.style[p] = v;
  return this.style.cssText !== before;
})";
inline constexpr const char* kCurrentStyle = "function(p) { return getComputedStyle(this)[p]; }";

inline constexpr const char* kGetValue = R"(function() {
  const tag = String(this.tagName).toUpperCase();
  if (tag !== 'INPUT' && tag !== 'TEXTAREA') throw new TypeError('no value');
  return this.value;
})";
inline constexpr const char* kSetValue = R"(function(v) {
  const tag = String(this.tagName).toUpperCase();
  if (tag !== 'INPUT' && tag !== 'TEXTAREA') throw new TypeError('no value');
  const before = this.value;
  this.value = v;
  return this.value !== before;
})";
// Functions on the document, called with `this` = the global object.
inline constexpr const char* kBody = "function() { return document.body; }";
inline constexpr const char* kDocumentElement = "function() { return document.documentElement; }";
inline constexpr const char* kActiveElement = "function() { return document.activeElement; }";
inline constexpr const char* kElementFromPoint =
    "function(x, y) { return document.elementFromPoint(x, y); }";
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
