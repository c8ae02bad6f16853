// The frames the displays drive: the first redraw after a change made through the module shows
// it, a page nobody draws is not rendered, and a renderer that never answers holds no redraw.
#include <chrono>
#include <random>
#include <sstream>

#include "platform/win32/win32.h"
#include "tests/browser/window_fixture.h"
#include "tests/support/busy_loops.h"
#include "tests/support/pixels.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;
using Brovis::Engine::BorderProperty;

// 100 stripes of 40 pixels on the left, each of its own colour, tell the scroll offset; on the
// right, fixed: a box to outline, a panel drawn by its border alone, and a text field.
std::string StripedPage() {
  std::ostringstream page;
  page << "<!DOCTYPE html><html><body style='margin:0;background:#fff'>";
  for (int i = 0; i < 100; ++i)
    page << "<div style='width:100px;height:40px;background:rgb(" << 2 * i << ',' << 255 - 2 * i
         << ",128)'></div>";
  page << "<div style='position:fixed;left:160px;top:0;width:40px;height:40px;"
          "box-sizing:border-box;background:#fff'></div>"
          "<div style='position:fixed;left:100px;top:40px;width:0;height:0;"
          "border:50px solid #000'></div>"
          "<input style='position:fixed;left:110px;top:150px;width:80px;height:40px;padding:0;"
          "border:none;outline:none;background:#fff;color:#000;font:28px monospace'>"
          "</body></html>";
  return page.str();
}

Win32::Pixel Stripe(int index) {
  return 0xFF000000u | (2u * index) << 16 | (255u - 2 * index) << 8 | 128u;
}

int DarkPixels(const Win32::Surface& surface, int x0, int y0, int x1, int y1) {
  int dark = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) dark += (surface.at(x, y) & 0xFF) < 0x80;
  return dark;
}

TEST_F(WindowTest, EveryChangeIsInTheFirstRedrawAfterIt) {
  server.page("/", StripedPage());
  Open(server.url("/"));
  Print(200, 200);
  auto document = access().browser().Document();
  ASSERT_NE(document, nullptr);
  auto box = document->elementFromPoint(180, 20);
  auto panel = document->elementFromPoint(150, 90);
  auto field = document->elementFromPoint(150, 170);
  ASSERT_TRUE(box && panel && field);

  const Win32::Pixel colours[] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF,
                                  0xFFFFFF00, 0xFFFF00FF, 0xFF00FFFF};
  const char* names[] = {"#ff0000", "#00ff00", "#0000ff", "#ffff00", "#ff00ff", "#00ffff"};
  int stripe = 0, outline = -1, panelColour = -1;
  bool text = false;
  std::mt19937 random(21);
  // A redraw that used up its wait may show the page before the change: the browser did not get
  // the time to draw it (a busy machine). One that came back earlier must show it.
  int wrong = 0, late = 0;
  for (int step = 0; step < 300; ++step) {
    const int kind = static_cast<int>(random() % 4);
    if (kind == 0) {
      // The pilot's scroll, through the window's record of it; the picture must show where the
      // page has been scrolled to.
      if (random() % 3 == 0)
        form->moveUp();
      else
        form->moveDown();
      stripe = (EvalInt("document.documentElement.scrollTop") + 20) / 40;
    } else if (kind == 1) {
      outline = outline >= 0 ? -1 : static_cast<int>(random() % 6);
      const Brovis::BrowserText colour = Text(names[outline >= 0 ? outline : 0]);
      const std::pair<BorderProperty, Brovis::BrowserTextView> border[] = {
          {BorderProperty::Color, colour},
          {BorderProperty::Width, u8"6px"},
          {BorderProperty::Style, outline >= 0 ? u8"solid" : u8"none"}};
      ASSERT_TRUE(box->setStyles(border));
    } else if (kind == 2) {
      panelColour = (panelColour + 1 + static_cast<int>(random() % 5)) % 6;
      ASSERT_TRUE(panel->setStyle(BorderProperty::Color, Text(names[panelColour])));
    } else {
      text = !text;
      ASSERT_TRUE(field->setValue(text ? u8"MMM" : u8""));
    }
    const auto start = std::chrono::steady_clock::now();
    const auto shown = Print(200, 200);
    const bool inTime =
        std::chrono::steady_clock::now() - start < Brovis::WebBrowser::kPrintWait - 5ms;
    const bool right = shown.at(50, 20) == Stripe(stripe) &&
                       shown.at(162, 2) == (outline >= 0 ? colours[outline] : 0xFFFFFFFF) &&
                       (panelColour < 0 || shown.at(150, 90) == colours[panelColour]) &&
                       (DarkPixels(shown, 110, 150, 190, 190) > 20) == text;
    if (!right && !inTime) ++late;
    if (!right && inTime && ++wrong <= 3)
      ADD_FAILURE() << "step " << step << ", a change of kind " << kind << ", is not shown";
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_LT(late, 270) << "nearly every redraw ran out of time: nothing was shown in time";
}

TEST_F(WindowTest, APageNobodyDrawsRunsItsTimersAndLoadsButIsNotRendered) {
  server.page("/data", "loaded");
  server.page("/",
              "<body style='margin:0;background:#f00'><script>"
              "let ticks = 0, frames = 0;"
              "setInterval(() => ticks++, 20);"
              "(function count() { frames++; requestAnimationFrame(count); })();"
              "</script></body>");
  Open(server.url("/"));
  for (int i = 0; i < 3; ++i, PumpFor(100ms)) Print(64, 64);
  // Nobody draws from here on.
  PumpFor(300ms);
  const int ticks = EvalInt("ticks"), frames = EvalInt("frames");
  Eval(
      "setTimeout(() => fetch('/data').then(r => r.text()).then(t => {"
      "document.title = t; document.body.style.background = '#00f'; }), 100)");
  PumpFor(1000ms);
  EXPECT_GT(EvalInt("ticks"), ticks + 10);
  EXPECT_EQ(EvalInt("frames"), frames);
  EXPECT_EQ(Eval("document.title"), "loaded");
  EXPECT_EQ(Print(64, 64).at(5, 5), 0xFF0000FFu);
  EXPECT_GT(EvalInt("frames"), frames);
}

TEST_F(WindowTest, ARendererThatNeverAnswersAFrameHoldsNoRedraw) {
  server.page("/",
              "<body style='margin:0;background:#0f0'><script>"
              "function hang() { document.body.style.background = '#f00'; while (true) {} }"
              "</script></body>");
  Open(server.url("/"));
  ASSERT_EQ(Print(64, 64).at(5, 5), 0xFF00FF00u);
  Eval("setTimeout(hang, 50)");
  // Long enough for the next redraw to owe a picture of the page as it is then.
  PumpFor(1500ms);
  for (int redraw = 0; redraw < 3; ++redraw) {
    const auto start = std::chrono::steady_clock::now();
    const auto shown = Print(64, 64);
    // Far less than any limit on the browser's calls: the redraw did not wait for the frame.
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_EQ(shown.at(5, 5), 0xFF00FF00u);
  }
}

TEST_F(WindowTest, DisplaysOfTwoSizesEachShowOnlyTheirOwnPicture) {
  // Green below 300 pixels of width, blue above; long enough that each width takes its own
  // layout, on a machine whose cores are taken.
  std::string page =
      "<!DOCTYPE html><style>body{margin:0;background:#0f0}"
      "@media (min-width:300px){body{background:#00f}}</style>";
  for (int i = 0; i < 4000; ++i) page += "<p>paragraph " + std::to_string(i) + "</p>";
  server.page("/", page);
  Open(server.url("/"));
  const BusyLoops busy(2);
  struct Display {
    int w, h;
    Win32::Pixel own, other;
    std::optional<std::chrono::steady_clock::time_point> firstOwn;
  } displays[] = {{256, 256, 0xFF00FF00, 0xFF0000FF, {}}, {400, 300, 0xFF0000FF, 0xFF00FF00, {}}};
  const auto start = std::chrono::steady_clock::now();
  while (std::chrono::steady_clock::now() - start < 4s) {
    for (Display& d : displays) {
      const Win32::Pixel shown = Print(d.w, d.h).at(d.w - 1, d.h - 1);
      ASSERT_NE(shown, d.other) << d.w << " x " << d.h << " shows the other display's picture";
      if (shown == d.own && !d.firstOwn) d.firstOwn = std::chrono::steady_clock::now();
      PumpFor(30ms);
    }
  }
  // Each got its own picture, well before the end.
  for (const Display& d : displays) {
    ASSERT_TRUE(d.firstOwn) << d.w << " x " << d.h << " never showed its own picture";
    EXPECT_LT(*d.firstOwn - start, 3s) << d.w << " x " << d.h;
  }
}

}  // namespace
}  // namespace BrovisTest
