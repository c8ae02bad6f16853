// The hidden browser window on real pages: layout, hiding, sizing, the scroll record against the
// page, the reset after loads, refused popups, dialogs, and the refresh.
#include "browser/engine/call_budget.h"
#include "platform/win32/win32.h"
#include "tests/browser/window_fixture.h"
#include "tests/support/pixels.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;
using Brovis::BrovisForm;

const char* kLongPage =
    "<!DOCTYPE html><html><body style='margin:0'>"
    "<div style='height:3000px;width:2500px;background:linear-gradient(#fff,#00f)'></div>"
    "</body></html>";

Forms::Size SizeOf(Forms::Control& c) { return c.GetSize(); }

TEST_F(WindowTest, ConstructionLaysOutAndHidesTheWindow) {
  // Red in the top left corner only, on a page larger than the view.
  server.page("/",
              "<body style='margin:0'><div style='width:3000px;height:3000px'>"
              "<div style='width:40px;height:40px;background:#f00'></div></div></body>");
  form = std::make_unique<BrovisForm>(Text(server.url("/")));
  access_ = std::make_unique<Brovis::BrovisFormTestAccess>(*form);
  EXPECT_EQ(form->GetSize(), (Forms::Size{420, 200}));
  EXPECT_EQ(SizeOf(access().panel()), (Forms::Size{200, 200}));
  EXPECT_EQ(SizeOf(access().browser()), (Forms::Size{200, 200}));
  EXPECT_EQ(SizeOf(access().pictureBox()), (Forms::Size{200, 200}));
  EXPECT_EQ(access().pictureBox().Location(), (Forms::Point{205, 0}));
  EXPECT_EQ(access().browser().Parent(), &access().panel());
  EXPECT_EQ(form->Controls(),
            (std::vector<Forms::Control*>{&access().panel(), &access().pictureBox()}));
  EXPECT_FALSE(form->ShowInTaskbar());
  EXPECT_EQ(form->BorderStyle(), Forms::FormBorderStyle::None);

  const LONG style = GetWindowLongW(form->GetHandle(), GWL_EXSTYLE);
  EXPECT_EQ(style & (WS_EX_LAYERED | WS_EX_TOOLWINDOW), WS_EX_LAYERED | WS_EX_TOOLWINDOW);
  form->Show();
  form->SendToBack();
  EXPECT_TRUE(Win32::NativeWindow::IsInvisible(form->GetHandle()));
  // Shown and invisible, it still paints: the first load is captured.
  ASSERT_TRUE(PumpUntil([&] { return access().bm() != nullptr; }));
  // The page shows from its top left corner.
  const Win32::Pixel corner = Print(200, 200).at(5, 5);
  EXPECT_TRUE(Near(corner, kRed)) << std::hex << corner;
}

TEST_F(WindowTest, SetSizeFollowsTheDisplayAndKeepsTheScrollUnit) {
  server.page("/", "<p>x</p>");
  Open(server.url("/"));
  form->SetSize(320, 240);
  EXPECT_EQ(form->GetSize(), (Forms::Size{660, 240}));
  EXPECT_EQ(SizeOf(access().panel()), (Forms::Size{320, 240}));
  EXPECT_EQ(SizeOf(access().browser()), (Forms::Size{320, 240}));
  EXPECT_EQ(SizeOf(access().pictureBox()), (Forms::Size{320, 240}));
  EXPECT_EQ(access().pictureBox().Location(), (Forms::Point{325, 0}));

  // 1 x 1 is the one request that returns at once.
  form->SetSize(1, 1);
  EXPECT_EQ(SizeOf(access().panel()), (Forms::Size{320, 240}));

  // Below the control's minimum, the browser stays 20 pixels and the panel shows its corner.
  form->SetSize(10, 19);
  EXPECT_EQ(SizeOf(access().browser()), (Forms::Size{20, 20}));
  EXPECT_EQ(SizeOf(access().panel()), (Forms::Size{10, 19}));
  EXPECT_EQ(access().xSize(), 200);
  EXPECT_EQ(access().ySize(), 200);
}

TEST_F(WindowTest, ZeroOrNegativeSizeStillRefreshes) {
  server.page("/", "<p>x</p>");
  Open(server.url("/"));
  for (auto [w, h] : {std::pair{0, 0}, {-5, 100}, {100, -1}}) {
    form->SetSize(w, h);
    const auto panel = SizeOf(access().panel());
    EXPECT_GE(panel.Width, 1);
    EXPECT_GE(panel.Height, 1);
    access().UpdateBitmap();  // must not throw: a bitmap of zero size cannot be made
    ASSERT_NE(access().bm(), nullptr);
    EXPECT_EQ(access().bm()->Width(), panel.Width);
    Win32::Surface none(0, 0);
    Win32::SurfaceDC dc(none);
    EXPECT_TRUE(PrintWindow(form->GetHandle(), dc.get(), 0));
  }
}

TEST_F(WindowTest, ScrollRecordReadsAndWritesStandardsPages) {
  server.page("/", kLongPage);
  Open(server.url("/"));
  // The page scrolls itself; the record picks it up only when read.
  Eval("window.scrollTo(0, 120)");
  access().UpdateScroll();
  EXPECT_FLOAT_EQ(access().yPos(), 0.6f);
  EXPECT_EQ(access().yMax(), 3000);
  EXPECT_EQ(access().xMax(), 2500);
  access().UpdateBitmap();
  EXPECT_EQ(EvalInt("document.documentElement.scrollTop"), 120);

  // 3 read back and written again becomes 2.
  Eval("window.scrollTo(0, 3)");
  access().UpdateScroll();
  access().UpdateBitmap();
  EXPECT_EQ(EvalInt("document.documentElement.scrollTop"), 2);

  // A scroll the page makes by itself is undone by the next refresh.
  Eval("window.scrollTo(40, 500)");
  access().UpdateBitmap();
  EXPECT_EQ(EvalInt("document.documentElement.scrollTop"), 2);
  EXPECT_EQ(EvalInt("document.documentElement.scrollLeft"), 0);
}

TEST_F(WindowTest, ScrollRecordUsesTheBodyOnQuirksPages) {
  // No doctype: the body reports the page's offsets, the root 0.
  server.page("/", "<html><body style='margin:0'><div style='height:2000px'></div></body></html>");
  Open(server.url("/"));
  Eval("document.body.scrollTop = 80");
  ASSERT_EQ(EvalInt("document.body.scrollTop"), 80);
  access().UpdateScroll();
  EXPECT_FLOAT_EQ(access().yPos(), 0.4f);
  access().setPos(0.0f, 1.25f);
  access().UpdateBitmap();
  EXPECT_EQ(EvalInt("document.body.scrollTop"), 250);
}

TEST_F(WindowTest, CompletedLoadResetsTheRecordAndShowsTheTop) {
  server.page("/", "<p>one</p>");
  server.page("/long", std::string(kLongPage).replace(std::string(kLongPage).find("<div"), 4,
                                                      "<div id='deep'></div><div"));
  Open(server.url("/"));
  access().setPos(0.5f, 1.0f);
  access().setSelectedIndex(7);
  // An anchor in the address would scroll the page; the reset shows it from the top-left.
  Load(server.url("/long#deep"));
  EXPECT_EQ(access().xPos(), 0.0f);
  EXPECT_EQ(access().yPos(), 0.0f);
  EXPECT_EQ(access().selectedIndex(), 0);
  EXPECT_EQ(EvalInt("document.documentElement.scrollTop"), 0);
  ASSERT_NE(access().bm(), nullptr);
  EXPECT_EQ(access().bm()->Width(), SizeOf(access().panel()).Width);
}

TEST_F(WindowTest, FrameCompletionRunsTheWholeHandler) {
  server.page("/inner", "<p>inner</p>");
  server.page("/",
              "<p>outer</p><script>setTimeout(() => { const f = "
              "document.createElement('iframe'); f.src = '/inner'; "
              "document.body.appendChild(f); }, 300);</script>");
  Open(server.url("/"));
  access().setSelectedIndex(9);
  const int before = completions;
  ASSERT_TRUE(PumpUntil([&] { return completions > before; }));
  EXPECT_EQ(access().selectedIndex(), 0);
}

TEST_F(WindowTest, PopupsAreRefusedAndThePageStays) {
  server.page("/popup", "<p>popup</p>");
  server.page("/",
              "<a id='l' href='/popup' target='_blank'>new</a>"
              "<script>function pop() { return window.open('/popup'); }</script>");
  Open(server.url("/"));
  int refused = 0;
  access().browser().NewWindow += [&](Forms::Control*, Forms::CancelEventArgs&) { ++refused; };
  Eval("pop()");
  Eval("document.getElementById('l').click()");
  ASSERT_TRUE(PumpUntil([&] { return refused >= 1; }));
  PumpFor(300ms);
  EXPECT_EQ(Eval("location.pathname"), "/");
  for (const auto& line : server.requests()) EXPECT_NE(line, "GET /popup");
}

TEST_F(WindowTest, DialogsNeitherFreezeThePageNorWait) {
  server.page("/",
              "<script>alert('hello'); window.answer = confirm('sure?'); "
              "window.said = prompt('name?', 'x');</script><p>after</p>");
  Open(server.url("/"));
  EXPECT_EQ(Eval("document.body.textContent"), "after");
  EXPECT_EQ(Eval("window.answer"), "false");
  EXPECT_EQ(Eval("window.said"), "null");
  // A dialog raised inside a call is answered while the call waits.
  EXPECT_EQ(Eval("(alert('again'), 42)"), "42");
  // So is one of a frame's own window, which a page can reach before anything of ours runs there.
  EXPECT_EQ(
      Eval("(() => { const f = document.body.appendChild(document.createElement('iframe'));"
           " return [f.contentWindow.confirm('sure?'), f.contentWindow.prompt('name?')]; })()"),
      "[false,null]");
}

TEST_F(WindowTest, PageNavigatingWhileMessagesAreProcessed) {
  server.page("/b", "<p id='b'>b</p>");
  server.page("/", "<p>a</p><script>setTimeout(() => location.href = '/b', 20);</script>");
  Open(server.url("/"));
  // Redraw after redraw, as displays do, until the page has moved on by itself.
  ASSERT_TRUE(PumpUntil(
      [&] {
        form->SetSize(256, 256);
        form->SetSize(128, 96);
        return Eval("location.pathname") == "/b" && !access().browser().IsBusy();
      },
      10s));
  PumpFor(100ms);
  EXPECT_EQ(access().selectedIndex(), 0);
  EXPECT_EQ(access().yPos(), 0.0f);
}

TEST_F(WindowTest, CompletionDoesNotWaitForALoadThatNeverEnds) {
  server.page("/quick", "<p>quick</p>");
  server.endlessPage("/endless");
  server.page("/", "<iframe src='/quick'></iframe><iframe src='/endless'></iframe>");
  server.page("/start", "<p>start</p>");
  Open(server.url("/start"));
  const int before = completions;
  form->Navigate(Text(server.url("/")));
  // The quick frame completes while the endless one keeps the page busy: the handler gives up
  // waiting, refreshes and hands the thread back.
  ASSERT_TRUE(PumpUntil([&] { return completions > before; }, 10s));
  EXPECT_TRUE(access().browser().IsBusy());
  EXPECT_EQ(access().selectedIndex(), 0);
  // And the window keeps working while the load goes on.
  const auto surface = Print(64, 64);
  EXPECT_EQ(surface.width(), 64);
}

TEST_F(WindowTest, FirstPrintAfterAChangeShowsIt) {
  server.page("/",
              "<body style='margin:0;background:#fff'><div style='height:400px'></div></body>");
  Open(server.url("/"));
  Print(128, 128);
  auto body = access().browser().Document()->body();
  ASSERT_NE(body, nullptr);
  const std::pair<Brovis::Engine::BorderProperty, Brovis::BrowserTextView> outline[] = {
      {Brovis::Engine::BorderProperty::Color, u8"red"},
      {Brovis::Engine::BorderProperty::Width, u8"30px"},
      {Brovis::Engine::BorderProperty::Style, u8"solid"}};
  ASSERT_TRUE(body->setStyles(outline));
  const auto surface = Print(128, 128);
  EXPECT_EQ(surface.at(10, 64), kRed) << std::hex << surface.at(10, 64);
}

TEST_F(WindowTest, ARepaintingPageShowsItsOwnChangesDrawnAndAfterAPause) {
  server.page("/",
              "<body style='margin:0;background:#f00'>"
              "<style>@keyframes turn { to { transform: rotate(1turn) } }</style>"
              "<div style='margin:40px;width:10px;height:10px;background:#fff;"
              "animation:turn 1s linear infinite'></div></body>");
  Open(server.url("/"));
  // Redraws as a display's, 100 ms apart, until the page's corner has `colour`.
  const auto shows = [&](Win32::Pixel colour) {
    for (int redraw = 0; redraw < 5; ++redraw, PumpFor(100ms))
      if (Print(64, 64).at(5, 5) == colour) return true;
    return false;
  };
  ASSERT_TRUE(shows(kRed));
  for (int redraw = 0; redraw < 5; ++redraw, PumpFor(100ms)) Print(64, 64);
  // Changes the page makes by itself, not through the engine.
  Eval("document.body.style.background = '#0f0'");
  EXPECT_TRUE(shows(0xFF00FF00));
  // Nobody draws for a while, and the page changes meanwhile.
  PumpFor(2500ms);
  Eval("document.body.style.background = '#00f'");
  PumpFor(100ms);
  EXPECT_TRUE(shows(0xFF0000FF));
}

TEST_F(WindowTest, PrintIsClippedToTheDisplayAtItsTopLeft) {
  server.page("/", "<body style='margin:0;background:#00ff00'></body>");
  Open(server.url("/"));
  const auto surface = Print(100, 60);
  EXPECT_EQ(CountPixels(surface, 0xFF00FF00), 100 * 60);
  // A surface larger than the window: only the window's area is written.
  form->SetSize(50, 50);
  Win32::Surface big(200, 100, 0xFF123456);
  Win32::SurfaceDC dc(big);
  PrintWindow(form->GetHandle(), dc.get(), 0);
  EXPECT_EQ(big.at(10, 10), 0xFF00FF00u);
  EXPECT_EQ(big.at(10, 80), 0xFF123456u);  // below the window
}

TEST_F(WindowTest, AResizeCutShortByItsBudgetIsFinishedLater) {
  server.page("/", "<body style='margin:0;background:#00ff00'></body>");
  Open(server.url("/"));
  Print(64, 64);
  {
    // A redraw whose time is already spent: the new size cannot reach the page now.
    Brovis::Engine::CallBudget spent(std::chrono::milliseconds{0});
    form->SetSize(120, 90);
  }
  // The size is the same from here on, so only the engine can know the page still lacks it.
  ASSERT_TRUE(PumpUntil([&] { return CountPixels(Print(120, 90), 0xFF00FF00) == 120 * 90; }));
}

TEST_F(WindowTest, HistoryStepsAndNothingWithoutAnEntry) {
  server.page("/a", "<p>a</p>");
  server.page("/b", "<p>b</p>");
  Open(server.url("/a"));
  int before = completions;
  form->NavigateBack();  // no earlier page
  // A step taken would keep the window busy until its page had loaded: once the window has
  // settled, it would show.
  Settle();
  EXPECT_EQ(completions, before);
  EXPECT_EQ(Eval("location.pathname"), "/a");
  Load(server.url("/b"));
  before = completions;
  form->NavigateBack();
  ASSERT_TRUE(PumpUntil([&] { return completions > before && Eval("location.pathname") == "/a"; }));
  before = completions;
  form->NavigateForward();
  ASSERT_TRUE(PumpUntil([&] { return completions > before && Eval("location.pathname") == "/b"; }));
}

TEST_F(WindowTest, BackLeavesAPageThatTrapsTheHistoryButKeepsTheRoutesClicked) {
  server.page("/start", "<p>start</p>");
  server.page("/trap",
              "<p>trap</p><script>let n = 0; onload = () => setInterval(() => "
              "history.pushState({}, '', '/trap?' + ++n), 20);</script>");
  server.page("/app",
              "<a href='#' onclick=\"history.pushState({}, '', '/app?route'); return false\">"
              "route</a>");
  Open(server.url("/start"));
  Load(server.url("/trap"));
  ASSERT_TRUE(PumpUntil([&] { return EvalInt("history.length") >= 12; }));
  form->NavigateBack();
  EXPECT_TRUE(PumpUntil([&] { return Eval("location.pathname") == "/start"; }));

  // A click that changes a single-page application's route is a step of the pilot's.
  Load(server.url("/app"));
  ASSERT_EQ(Str(form->selectNext()), "A");
  form->clickElement();
  ASSERT_TRUE(PumpUntil([&] { return Eval("location.search") == "?route"; }));
  form->NavigateBack();
  EXPECT_TRUE(PumpUntil([&] { return Eval("location.href") == server.url("/app"); }));
  form->NavigateForward();
  EXPECT_TRUE(PumpUntil([&] { return Eval("location.search") == "?route"; }));
}

}  // namespace
}  // namespace BrovisTest

namespace BrovisTest {
namespace {

TEST_F(WindowTest, HomePageUnreachableIsHarmless) {
  // This machine reaches no public site: the home page ends on the notice that it failed.
  Attach(std::make_unique<Brovis::BrovisForm>());
  EXPECT_EQ(access().selectedIndex(), 0);
  EXPECT_EQ(Print(64, 64).width(), 64);
  server.page("/", "<p id='p'>local</p>");
  Load(server.url("/"));
  EXPECT_EQ(Eval("document.getElementById('p').textContent"), "local");
}

}  // namespace
}  // namespace BrovisTest
