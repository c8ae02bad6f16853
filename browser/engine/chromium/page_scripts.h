#pragma once
// The functions that run inside the page, one per DOM operation. Each is called on its element
// (`this`) with its arguments as JSON values. Ones that change the page return whether anything
// visible may have changed, so that the next print knows to wait for the new picture.
namespace Brovis::Engine::Scripts {

inline constexpr const char* kTagName = "function() { return this.tagName; }";
inline constexpr const char* kParentElement = "function() { return this.parentElement; }";
inline constexpr const char* kAll = "function() { return this.getElementsByTagName('*'); }";
inline constexpr const char* kLength = "function() { return this.length; }";
inline constexpr const char* kItem =
    "function(i) { return i >= 0 && i < this.length ? this[i] : null; }";

// Tag name and "type" for each position; styles up the ancestor chain only for the tags that
// can be selected at all. Long windows are what this is for, so the answer is kept small and
// cheap to carry: tag names and (visibility, display) pairs are sent once each in tables and
// referred to by number, each ancestor's style is read once per call, and the whole answer
// travels as one JSON text. Entries: a tag number; [tag, type] when there is a "type"; and
// [tag, type or null, [pair numbers from the element up to the root]] for A, INPUT, TEXTAREA.
inline constexpr const char* kFacts = R"(function(first, step, count) {
  const tags = [], tagNumbers = new Map(), pairs = [], pairNumbers = new Map();
  const levels = new Map();
  const number = (table, numbers, key, value) => {
    let n = numbers.get(key);
    if (n === undefined) {
      n = table.length;
      table.push(value);
      numbers.set(key, n);
    }
    return n;
  };
  const level = p => {
    let n = levels.get(p);
    if (n === undefined) {
      const cs = getComputedStyle(p);
      const v = String(cs.visibility), d = String(cs.display);
      n = number(pairs, pairNumbers, v + '\n' + d, [v, d]);
      levels.set(p, n);
    }
    return n;
  };
  const wellFormed = s => typeof s.toWellFormed === 'function' ? s.toWellFormed() : s;
  const out = [];
  for (let i = first, n = 0; n < count && i >= 0 && i < this.length; i += step, ++n) {
    const e = this[i];
    const tag = wellFormed(String(e.tagName));
    const t = number(tags, tagNumbers, tag, tag);
    let type = e.getAttribute('type');
    if (type !== null) type = wellFormed(type);
    const upper = tag.toUpperCase();
    if (upper === 'A' || upper === 'INPUT' || upper === 'TEXTAREA') {
      const styles = [];
      for (let p = e; p; p = p.parentElement) styles.push(level(p));
      out.push([t, type, styles]);
    } else {
      out.push(type === null ? t : [t, type]);
    }
  }
  return JSON.stringify([this.length, tags, pairs, out]);
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
