// Stepping through a page's links and fields, the red outline, and clicking the selection, on
// real pages: what the pilot sees in the print, where the page is scrolled, and which requests
// a click sends.
#include <stdlib.h>

#include <algorithm>
#include <cstdio>

#include "browser/scroll_math.h"
#include "tests/browser/window_fixture.h"
#include "tests/support/pixels.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

// A body of `count` spans with ids p0, p1, ...; the positions in `links` are links instead.
std::string Numbered(int count, std::initializer_list<int> links) {
  std::string body;
  for (int i = 0; i < count; ++i) {
    const bool link = std::find(links.begin(), links.end(), i) != links.end();
    const std::string id = std::string("p").append(std::to_string(i));
    body += link ? "<a id='" + id + "' href='/to/" + id + "'>" + id + "</a> "
                 : "<span id='" + id + "'>" + id + "</span> ";
  }
  return "<!DOCTYPE html><html><body>" + body + "</body></html>";
}

class SelectionTest : public WindowTest {
 protected:
  // Ids of the elements that carry the solid outline, in document order.
  std::string Outlined() {
    return Eval(
               "[...document.querySelectorAll('*')].filter(e => e.style.borderStyle === 'solid')"
               ".map(e => e.id).join(',')")
        .value_or("?");
  }
  // The step's result and where it left the index, as "A@4".
  std::string Step(int direction) {
    const std::string tag = Str(form->selectElement(direction));
    return tag + "@" + std::to_string(access().selectedIndex());
  }
  // Where an element's box lies in the view, as "left,top,right,bottom".
  std::string Box(const std::string& id) {
    return Eval(
               "(r => [r.left, r.top, r.right, r.bottom].map(Math.round).join())"
               "(document.getElementById('" +
               id + "').getBoundingClientRect())")
        .value_or("?");
  }
};

TEST_F(SelectionTest, StepsThroughLinksAndWrapsBothWays) {
  server.page("/", Numbered(30, {4, 9, 20}));
  Open(server.url("/"));
  // Every change to the page, to check that steps touch nothing but the outlines.
  Eval(
      "window.changes = []; new MutationObserver(l => l.forEach(m => changes.push(m.type + ' ' + "
      "m.target.id + ' ' + m.attributeName))).observe(document, {subtree: true, attributes: "
      "true, childList: true, characterData: true})");

  EXPECT_EQ(Step(1), "A@4");
  EXPECT_EQ(Outlined(), "p4");
  EXPECT_EQ(Step(1), "A@9");
  EXPECT_EQ(Step(1), "A@20");
  EXPECT_EQ(Step(1), "A@4");
  EXPECT_EQ(Step(-1), "A@20");
  EXPECT_EQ(Outlined(), "p20");
  // Only the sign counts: 0 steps forward, -7 backward one position at a time.
  EXPECT_EQ(Step(0), "A@4");
  EXPECT_EQ(Step(1), "A@9");
  EXPECT_EQ(Step(-7), "A@4");
  EXPECT_EQ(Str(form->selectNext()), "A");
  EXPECT_EQ(Str(form->selectPrevious()), "A");
  EXPECT_EQ(access().selectedIndex(), 4);

  // A deselected element keeps the colour and width, without a border.
  EXPECT_EQ(Outlined(), "p4");
  EXPECT_EQ(Eval("(s => [s.borderStyle, s.borderColor, s.borderWidth].join())"
                 "(document.getElementById('p9').style)"),
            "none,red,thin");
  EXPECT_EQ(Eval("document.getElementById('p5').getAttribute('style')"), "null");
  PumpFor(50ms);
  EXPECT_EQ(Eval("[...new Set(changes)].sort().join(';')"),
            "attributes p20 style;attributes p4 style;attributes p9 style");
}

TEST_F(SelectionTest, FirstStepAfterALoadStartsAtPositionOne) {
  server.page("/", Numbered(8, {0, 5}));
  Open(server.url("/"));
  ASSERT_EQ(access().selectedIndex(), 0);
  // The body's first element comes only after every other position.
  EXPECT_EQ(Step(1), "A@5");
  EXPECT_EQ(Step(1), "A@0");
  // The first Previous after a load wraps at once to the last position.
  Load(server.url("/"));
  EXPECT_EQ(Step(-1), "A@5");
  // Before any load, the first Next examines position 0 first.
  access().setSelectedIndex(-1);
  EXPECT_EQ(Step(1), "A@0");
}

TEST_F(SelectionTest, PassesOverHiddenInputsAndWhatIsNotShown) {
  server.page("/",
              "<!DOCTYPE html><html><body>"
              "<input type='hidden' id='hidden'>"
              "<a id='beforeNone' href='/x'>before</a>"
              "<div style='display:none'><input id='inNone'><p><a href='/x'>in</a>"
              "<a href='/x'>in</a></p></div>"
              "<a id='afterNone' href='/x'>after</a>"
              "<div style='visibility:hidden'><a id='madeVisible' href='/x' "
              "style='visibility:visible'>again visible</a></div>"
              "<a id='undisplayed' href='/x' style='display:none'>x</a>"
              "<input type='HIDDEN' id='hiddenUpper'>"
              "<button id='button'>b</button><select id='select'><option>o</option></select>"
              "<a id='named' name='n'>named anchor</a>"
              "<a id='collapsed' href='/x' style='visibility:collapse'>only hidden hides</a>"
              "<input id='disabled' disabled>"
              "<input type='checkbox' id='check'>"
              "<textarea id='area'></textarea>"
              "</body></html>");
  Open(server.url("/"));
  const auto steps = [&](int direction, int count) {
    std::string seen;
    for (int i = 0; i < count; ++i) {
      const std::string tag = Str(form->selectElement(direction));
      seen += tag + ":" + Outlined() + " ";
    }
    return seen;
  };
  EXPECT_EQ(steps(1, 8),
            "A:beforeNone A:afterNone A:named A:collapsed INPUT:disabled INPUT:check "
            "TEXTAREA:area A:beforeNone ");
  EXPECT_EQ(steps(-1, 7),
            "TEXTAREA:area INPUT:check INPUT:disabled A:collapsed A:named A:afterNone "
            "A:beforeNone ");

  // The root's visibility counts too, even where a link makes itself visible again.
  Eval(
      "document.documentElement.style.visibility = 'hidden';"
      "document.getElementById('named').style.visibility = 'visible'");
  EXPECT_EQ(Str(form->selectNext()), "blank");
}

TEST_F(SelectionTest, PassesOverWhatNoScrollCanBringIntoView) {
  // A drawer moved out to the left by a transform, a menu parked at a negative offset, a link
  // that ends exactly where the page begins, a closed details element, a fixed sidebar that
  // scrolls its own links, a right-to-left box scrolled to its start with a link at its far
  // left, an empty named anchor, and a last link far enough down for the page to scroll.
  server.page("/",
              "<!DOCTYPE html><html><head><style>"
              "body { margin: 0; font: 16px/20px 'DejaVu Sans' }"
              "#drawer { position: fixed; left: 0; top: 0; width: 150px;"
              " transform: translateX(-100%) }"
              "#parked { position: absolute; left: -1000px; top: 0; width: 200px }"
              "#edge { position: absolute; left: -40px; top: 40px; width: 40px; display: block }"
              "#sidebar { position: fixed; right: 0; top: 0; width: 60px; height: 80px;"
              " overflow: auto }"
              "#sidebar a { display: block; height: 30px }"
              "#rtl { width: 100px; overflow: auto } #rtl div { width: 400px; text-align: left }"
              "</style></head><body>"
              "<nav id='drawer'><a id='d1' href='/d1'>d1</a> <a id='d2' href='/d2'>d2</a></nav>"
              "<div id='parked'><a id='p1' href='/p1'>p1</a></div>"
              "<a id='first' href='/first'>first</a><a id='edge' href='/edge'>edge</a>"
              "<details id='more'><summary>more</summary><a id='inside' href='/in'>in</a>"
              "</details>"
              "<div id='sidebar'><a id='s1' href='/s1'>s1</a><a id='s2' href='/s2'>s2</a>"
              "<a id='s3' href='/s3'>s3</a><a id='s4' href='/s4'>s4</a></div>"
              "<div id='rtl' dir='rtl'><div><a id='far' href='/far'>far</a></div></div>"
              "<div><a id='named' name='n'></a></div>"
              "<div style='height:600px'></div><a id='last' href='/last'>last</a>"
              "</body></html>");
  Open(server.url("/"));
  const auto steps = [&](int direction, int count) {
    std::string seen;
    for (int i = 0; i < count; ++i) {
      form->selectElement(direction);
      seen += Outlined() + " ";
    }
    return seen;
  };
  // The sidebar's lower links stay selectable, and so does its first once it has scrolled down,
  // as does the first link once the page has.
  EXPECT_EQ(steps(1, 9), "first s1 s2 s3 s4 far named last first ");
  EXPECT_GT(EvalInt("document.getElementById('sidebar').scrollTop"), 0);
  EXPECT_EQ(steps(1, 1), "s1 ");
  // Once opened, the details element's link takes its place.
  Eval("document.getElementById('more').open = true");
  EXPECT_EQ(steps(-1, 3), "inside first last ");
  EXPECT_EQ(steps(1, 3), "first inside s1 ");
}

TEST_F(SelectionTest, NothingSelectableEndsTheSearchWithBlank) {
  server.page("/", Numbered(12, {7}));
  server.page("/empty", "<!DOCTYPE html><html><body></body></html>");
  Open(server.url("/"));
  ASSERT_EQ(Step(1), "A@7");
  Eval("document.getElementById('p7').style.display = 'none'");
  // One whole round without a find: the outline is gone, nothing is selected, and the index is
  // back where the step started.
  EXPECT_EQ(Step(1), "blank@7");
  EXPECT_EQ(Outlined(), "");
  EXPECT_EQ(Eval("document.getElementById('p7').style.borderStyle"), "none");
  EXPECT_EQ(access().selectedElement(), nullptr);
  EXPECT_EQ(Step(-1), "blank@7");
  const auto capture = access().bm();
  form->clickElement();
  EXPECT_EQ(access().bm(), capture);

  // An empty body: the index is left where the wrap put it.
  Load(server.url("/empty"));
  EXPECT_EQ(Step(1), "blank@-1");
  EXPECT_EQ(Step(-1), "blank@0");
}

TEST_F(SelectionTest, OutlineShowsInThePrintAndLeavesNoFrameBehind) {
  // A field with a blue sunken frame of its own, and a link below it.
  server.page("/",
              "<!DOCTYPE html><html><body style='margin:0;background:#fff'><p></p>"
              "<input id='field' style='position:absolute;left:20px;top:20px;width:100px;"
              "height:20px;border:4px inset rgb(0,0,255);background:#fff;color:#fff'>"
              "<a id='link' href='/x' style='position:absolute;left:20px;top:120px;"
              "font-size:20px'>link</a></body></html>");
  Open(server.url("/"));
  // Counts in the rectangle (l, t)-(r, b) of a print.
  const auto count = [](const Win32::Surface& s, int l, int t, int r, int b, auto test) {
    int n = 0;
    for (int y = t; y < b; ++y)
      for (int x = l; x < r; ++x) n += test(s.at(x, y)) ? 1 : 0;
    return n;
  };
  const auto red = [](Win32::Pixel p) { return p == kRed; };
  const auto blue = [](Win32::Pixel p) { return (p & 0xFF) > 0x40 && ((p >> 16) & 0xFF) < 0x40; };

  auto before = Print(200, 200);
  EXPECT_EQ(CountPixels(before, kRed), 0);
  EXPECT_GT(count(before, 16, 16, 136, 56, blue), 100);

  ASSERT_EQ(Str(form->selectNext()), "INPUT");
  auto selected = Print(200, 200);
  // A one-pixel red line all around the field, and nothing of its own frame.
  int l = 0, t = 0, r = 0, b = 0;
  ASSERT_EQ(std::sscanf(Box("field").c_str(), "%d,%d,%d,%d", &l, &t, &r, &b), 4);
  EXPECT_EQ(count(selected, 16, 16, 136, 56, blue), 0);
  EXPECT_EQ(count(selected, l, t, l + 1, b, red), b - t);
  EXPECT_EQ(count(selected, r - 1, t, r, b, red), b - t);
  EXPECT_EQ(count(selected, l, t, r, t + 1, red), r - l);
  EXPECT_EQ(count(selected, l, b - 1, r, b, red), r - l);
  EXPECT_EQ(count(selected, 0, 0, 200, 200, red), 2 * (r - l) + 2 * (b - t) - 4);

  ASSERT_EQ(Str(form->selectNext()), "A");
  auto moved = Print(200, 200);
  // No border at all on the field, not even the page's own; the link carries the red now.
  EXPECT_EQ(count(moved, 16, 16, 136, 56, [](Win32::Pixel p) { return p != 0xFFFFFFFF; }), 0);
  EXPECT_GT(count(moved, 16, 110, 100, 160, red), 40);
}

TEST_F(SelectionTest, SelectionIsScrolledIntoViewAndStaysThere) {
  // Fractional heights, as text lines get them, and links whose scroll into view ends on
  // offsets (819, 1838 or 1839, 2856 or 2857) that a stored position of offset / 200 in single
  // precision would write back a pixel short.
  server.page("/",
              "<!DOCTYPE html><html><head><style>"
              "body { margin: 0; font: 13.3px/17.7px 'DejaVu Sans' }"
              "a { display: block; width: 120px; height: 17.7px }"
              "</style></head><body>"
              "<div style='height:999.6px'></div><a id='one' href='/x'>one</a>"
              "<div style='height:1001.3px'></div><a id='two' href='/x'>two</a>"
              "<div style='height:1000.6px'></div><a id='three' href='/x'>three</a>"
              "<div style='height:20.4px'></div></body></html>");
  Open(server.url("/"));
  // Steps in quick succession, as the pilot's presses come: each one's bottom edge lines up
  // with the bottom of the view, and the stored position writes back where the page is.
  for (const char* id : {"one", "two", "three", "one"}) {
    ASSERT_EQ(Str(form->selectNext()), "A");
    const std::string box = Box(id);
    EXPECT_EQ(box.substr(box.rfind(',')), ",200") << id;
    const int top = EvalInt("document.documentElement.scrollTop");
    EXPECT_NE(Brovis::ToScrollOffset(Brovis::ToScrollPosition(top, 200), 200), top) << id;
    EXPECT_EQ(Brovis::ToScrollOffset(access().yPos(), 200), top) << id;
  }
  // A redraw keeps the page where the step left it: the whole outline shows, its bottom edge on
  // the display's last row.
  const int scrolled = EvalInt("document.documentElement.scrollTop");
  auto print = Print(200, 200);
  EXPECT_EQ(EvalInt("document.documentElement.scrollTop"), scrolled);
  int bottomRed = 0;
  for (int x = 0; x < 200; ++x) bottomRed += print.at(x, 199) == kRed ? 1 : 0;
  EXPECT_GE(bottomRed, 120);
}

TEST_F(SelectionTest, ClickFollowsTheSelectedLink) {
  server.page("/", Numbered(6, {1, 3}));
  server.page("/to/p3", "<!DOCTYPE html><html><body><a href='/back'>back</a></body></html>");
  Open(server.url("/"));
  ASSERT_EQ(Step(1), "A@1");
  ASSERT_EQ(Step(1), "A@3");
  form->clickElement();
  ASSERT_TRUE(server.waitForRequest("GET /to/p3", 5s));
  ASSERT_TRUE(PumpUntil([&] { return Eval("location.pathname") == "/to/p3"; }));
  Settle();
  EXPECT_EQ(access().selectedIndex(), 0);
  for (const auto& line : server.requests()) EXPECT_NE(line, "GET /to/p1");
}

TEST_F(SelectionTest, ClicksToggleACheckBoxAndOpenNoNewWindow) {
  server.page("/popup", "<p>popup</p>");
  server.page("/",
              "<!DOCTYPE html><html><body><p>top</p><input type='checkbox' id='box'>"
              "<a id='pop' href='/popup' target='_blank'>new window</a>"
              "<div style='height:2000px'></div></body></html>");
  Open(server.url("/"));
  ASSERT_EQ(Step(1), "INPUT@1");
  form->clickElement();
  EXPECT_EQ(Eval("String(document.getElementById('box').checked)"), "true");
  form->clickElement();
  EXPECT_EQ(Eval("String(document.getElementById('box').checked)"), "false");
  EXPECT_EQ(access().selectedIndex(), 1);
  EXPECT_EQ(Outlined(), "box");

  ASSERT_EQ(Step(1), "A@2");
  int refused = 0;
  access().browser().NewWindow += [&](Forms::Control*, Forms::CancelEventArgs&) { ++refused; };
  form->clickElement();
  ASSERT_TRUE(PumpUntil([&] { return refused == 1; }));
  PumpFor(200ms);
  EXPECT_EQ(Eval("location.pathname"), "/");
  EXPECT_EQ(Outlined(), "pop");
  for (const auto& line : server.requests()) EXPECT_NE(line, "GET /popup");
}

TEST_F(SelectionTest, ClickOnAnElementOfAPageNoLongerShownDoesNothing) {
  server.page("/", Numbered(3, {1}));
  server.page("/next", Numbered(3, {2}));
  Open(server.url("/"));
  ASSERT_EQ(Step(1), "A@1");
  Load(server.url("/next"));
  const auto capture = access().bm();
  form->clickElement();
  EXPECT_EQ(access().bm(), capture);
  PumpFor(200ms);
  EXPECT_EQ(Eval("location.pathname"), "/next");
  for (const auto& line : server.requests()) EXPECT_NE(line, "GET /to/p1");
  // The first step on the new page leaves the old element alone and selects on this one.
  EXPECT_EQ(Step(1), "A@2");
}

TEST_F(SelectionTest, DocumentWithoutABodyOnlyLosesTheOutline) {
  server.page("/", Numbered(4, {2}));
  Open(server.url("/"));
  ASSERT_EQ(Step(1), "A@2");
  const auto selected = access().selectedElement();
  // The link moves up to the root, and the body goes.
  Eval(
      "document.documentElement.appendChild(document.getElementById('p2')); "
      "document.body.remove()");
  ASSERT_EQ(Eval("String(document.body)"), "null");
  EXPECT_EQ(Step(1), "@2");
  EXPECT_EQ(access().selectedElement(), selected);
  EXPECT_EQ(Eval("document.getElementById('p2').style.borderStyle"), "none");
}

// A window whose browser could not be started has no document at all.
TEST(WindowWithoutBrowser, OperationsChangeOnlyTheStoredPosition) {
  const std::string path = ::getenv("PATH") ? ::getenv("PATH") : "";
  ::setenv("PATH", "/nonexistent", 1);
  struct RestorePath {
    const std::string& path;
    ~RestorePath() { ::setenv("PATH", path.c_str(), 1); }
  } restore{path};
  Brovis::BrovisForm form(Text("http://127.0.0.1:9/"));
  Brovis::BrovisFormTestAccess access(form);
  ASSERT_EQ(access.diagnostics()->browserProcessId(), 0);

  EXPECT_EQ(Str(form.selectNext()), "");
  EXPECT_EQ(Str(form.selectPrevious()), "");
  EXPECT_EQ(access.selectedIndex(), -1);
  form.clickElement();
  form.setKeyboard(Text("abc"));
  form.appendKeyboard(Text("abc"));

  // The moves step within 0 and the extent last read, 1000 pixels before any read.
  form.moveUp();
  EXPECT_EQ(access.yPos(), 0.0f);
  form.moveDown();
  EXPECT_EQ(access.yPos(), 0.3f);
  for (int i = 0; i < 20; ++i) form.moveRight();
  EXPECT_EQ(access.xPos(), 5.0f);
  form.moveLeft();
  EXPECT_EQ(access.xPos(), 4.7f);
  EXPECT_EQ(access.yMax(), 1000);
}

}  // namespace
}  // namespace BrovisTest
