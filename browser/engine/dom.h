#pragma once
// The page's document object model as the window and its page operations see it. Every
// operation fails softly: a read gives nothing, a write or action returns false, and an element
// of a page that has gone away keeps failing that way. Nothing here throws.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "browser/engine/browser_text.h"

namespace Brovis::Engine {

class Element;
class ElementCollection;
class TextRange;

// A counted reference: the page object stays reachable while any reference to it is held.
using ElementRef = std::shared_ptr<Element>;

// The scroll properties of an element, in pixels.
enum class ScrollProperty { Top, Left, Height, Width };
// Inline border properties, each for all four sides.
enum class BorderProperty { Color, Width, Style };
enum class ComputedProperty { Visibility, Display };
// How typed text goes into a field: it replaces the value, or is added at its end.
enum class TextEntry { Replace, Append };

struct ScrollMetrics {
  std::int32_t scrollHeight = 0;
  std::int32_t scrollWidth = 0;
  std::int32_t scrollTop = 0;
  std::int32_t scrollLeft = 0;
};

// The root element's and the body's scroll metrics, read together.
struct PageScroll {
  ScrollMetrics root;
  ScrollMetrics body;
};

// What a selection test needs to know of one position of an element list.
struct ElementFacts {
  BrowserText tagName;              // as the engine reports it
  std::optional<BrowserText> type;  // an INPUT element's "type" attribute, when it has one
  // Neither the element nor any of its ancestors up to and including the root element has
  // visibility "hidden" or display "none". Only found out for A, INPUT and TEXTAREA elements:
  // no other element can pass the first test, so it would never be looked at.
  bool shown = false;
  // Scrolling can bring it into view: the engine renders it (it is not inside a closed details
  // element, for one), and one of its boxes lies not wholly left of or above where the areas
  // that could scroll it into view begin. Only found out for an element that is shown.
  bool reachable = false;
};

class ElementCollection {
 public:
  virtual ~ElementCollection() = default;
  virtual std::optional<int> length() = 0;
  // The element at `index`; none at or past the end, below 0, or on failure.
  virtual ElementRef item(int index) = 0;
  // Facts for up to `count` positions, starting at `first` and moving by `step` (+1 or -1),
  // stopping at either end of the list, all in one exchange with the engine.
  virtual std::optional<std::vector<ElementFacts>> facts(int first, int step, int count) = 0;
};

class Element {
 public:
  virtual ~Element() = default;

  virtual std::optional<BrowserText> tagName() = 0;
  virtual ElementRef parentElement() = 0;
  // Every element inside this one, at any depth, in document order.
  virtual std::shared_ptr<ElementCollection> all() = 0;
  virtual bool isTextEdit() = 0;
  // A click as from the user: the page's handlers, then the default action.
  virtual bool click() = 0;
  virtual bool scrollIntoView(bool alignToTop) = 0;

  // An attribute's value by name (the name matched whatever its case); none when absent.
  virtual std::optional<BrowserText> getAttribute(BrowserTextView name) = 0;
  virtual std::optional<std::int32_t> scroll(ScrollProperty property) = 0;
  // Only Top and Left can be written.
  virtual bool setScroll(ScrollProperty property, std::int32_t value) = 0;

  virtual std::optional<BrowserText> style(BorderProperty property) = 0;
  virtual bool setStyle(BorderProperty property, BrowserTextView value) = 0;
  // Several inline style writes, applied in the order given, in one exchange with the engine.
  virtual bool setStyles(std::span<const std::pair<BorderProperty, BrowserTextView>> values) = 0;
  virtual std::optional<BrowserText> currentStyle(ComputedProperty property) = 0;

  // The text of an INPUT or TEXTAREA element; fails for other elements.
  virtual std::optional<BrowserText> value() = 0;
  // Sets it as an assignment by the page's own script would, without an event.
  virtual bool setValue(BrowserTextView value) = 0;
  // Typed text into an INPUT or TEXTAREA element: written as setValue writes, then the page is
  // told with an input event and a change event, whose handlers may rewrite the value. True
  // when the text was written and the handlers have returned.
  virtual bool enterText(BrowserTextView text, TextEntry entry) = 0;
  // A range over the text of a single-line text input; none for other elements.
  virtual std::unique_ptr<TextRange> createTextRange() = 0;
};

class TextRange {
 public:
  virtual ~TextRange() = default;
  virtual std::optional<BrowserText> text() = 0;
  virtual bool setText(BrowserTextView text) = 0;
};

class Document {
 public:
  virtual ~Document() = default;
  virtual ElementRef body() = 0;
  virtual ElementRef documentElement() = 0;
  virtual ElementRef activeElement() = 0;
  virtual ElementRef elementFromPoint(int x, int y) = 0;

  // Both elements' scroll metrics in one read; none without a root element or a body.
  virtual std::optional<PageScroll> readScroll() = 0;
  // Reads both elements' metrics, then writes the body's scrollTop, the root's scrollTop, the
  // body's scrollLeft and the root's scrollLeft, in that order, in one exchange. Returns the
  // metrics read before writing; none without a root element or a body (nothing is written).
  virtual std::optional<PageScroll> writeScroll(std::int32_t top, std::int32_t left) = 0;
};

}  // namespace Brovis::Engine
