// Scrolling in fixed steps on real pages: the offsets the page is given, the bounds, and moves
// while there is nothing to scroll.
#include "tests/browser/window_fixture.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

const char* kLargePage =
    "<!DOCTYPE html><html><body style='margin:0'>"
    "<div style='width:3000px;height:3000px'></div></body></html>";

class PagingTest : public WindowTest {
 protected:
  int Top() { return EvalInt("document.documentElement.scrollTop"); }
  int LeftOffset() { return EvalInt("document.documentElement.scrollLeft"); }
  // The page's vertical offset after scrolling it to `from` by itself and then one move.
  int VerticalFrom(int from, void (Brovis::BrovisForm::*move)()) {
    Eval("window.scrollTo(0, " + std::to_string(from) + ")");
    (form.get()->*move)();
    return Top();
  }
  int HorizontalFrom(int from, void (Brovis::BrovisForm::*move)()) {
    Eval("window.scrollTo(" + std::to_string(from) + ", 0)");
    (form.get()->*move)();
    return LeftOffset();
  }
  bool Refreshes(void (Brovis::BrovisForm::*move)()) {
    const auto before = access().bm();
    (form.get()->*move)();
    return access().bm() != before;
  }
};

TEST_F(PagingTest, StepsWriteTheExactOffsets) {
  server.page("/", kLargePage);
  Open(server.url("/"));
  using F = Brovis::BrovisForm;
  EXPECT_EQ(VerticalFrom(0, &F::moveDown), 60);
  EXPECT_EQ(VerticalFrom(200, &F::moveDown), 259);
  EXPECT_EQ(VerticalFrom(200, &F::moveUp), 139);
  EXPECT_EQ(VerticalFrom(63, &F::moveUp), 2);
  EXPECT_EQ(VerticalFrom(40, &F::moveUp), 0);
  EXPECT_EQ(HorizontalFrom(0, &F::moveRight), 60);
  EXPECT_EQ(HorizontalFrom(200, &F::moveRight), 259);
  EXPECT_EQ(HorizontalFrom(200, &F::moveLeft), 139);
  EXPECT_EQ(HorizontalFrom(63, &F::moveLeft), 2);
  // Each axis moves alone.
  Eval("window.scrollTo(100, 100)");
  form->moveDown();
  EXPECT_EQ(LeftOffset(), 100);
  form->moveRight();
  EXPECT_EQ(Top(), 160);
  EXPECT_EQ(LeftOffset(), 160);
}

TEST_F(PagingTest, AtTheStartNothingIsWrittenOrCaptured) {
  server.page("/", kLargePage);
  Open(server.url("/"));
  // The fields are refreshed all the same.
  access().setMax(1, 1);
  EXPECT_FALSE(Refreshes(&Brovis::BrovisForm::moveUp));
  EXPECT_EQ(access().yMax(), 3000);
  EXPECT_FALSE(Refreshes(&Brovis::BrovisForm::moveLeft));
  EXPECT_EQ(access().xMax(), 3000);
  EXPECT_EQ(Top(), 0);
  EXPECT_TRUE(Refreshes(&Brovis::BrovisForm::moveDown));
}

TEST_F(PagingTest, StepsStopAtTheWholeExtent) {
  // 250 pixels high in a view 20 pixels high: the page scrolls 230 pixels at most.
  server.page("/",
              "<!DOCTYPE html><html><body style='margin:0'><div style='height:250px'></div>"
              "</body></html>");
  Open(server.url("/"));
  form->SetSize(200, 20);
  Eval("window.scrollTo(0, 200)");
  form->moveDown();
  EXPECT_EQ(access().yMax(), 250);
  EXPECT_EQ(access().yPos(), 1.25f);
  EXPECT_EQ(Top(), 230);
  // At the bottom a step still writes beyond the end and captures; the page stays where it is.
  EXPECT_TRUE(Refreshes(&Brovis::BrovisForm::moveDown));
  EXPECT_EQ(access().yPos(), 1.25f);
  EXPECT_EQ(Top(), 230);
  // The next move starts from what the page kept.
  form->moveUp();
  EXPECT_EQ(Top(), 169);
}

TEST_F(PagingTest, MoveDuringALoadIsUndoneByItsEnd) {
  server.page("/", kLargePage);
  server.endlessPage("/endless");
  // The top document loading until the test stops it: its picture never finishes (a frame
  // would not hold the move).
  server.page("/slow",
              "<!DOCTYPE html><html><body style='margin:0'>"
              "<div style='height:3000px'></div><img src='/endless'>"
              "</body></html>");
  Open(server.url("/"));
  const int before = completions;
  form->Navigate(Text(server.url("/slow")));
  ASSERT_TRUE(PumpUntil([&] {
    return Eval("location.pathname") == "/slow" &&
           Eval("String(!!document.querySelector('img'))") == "true";
  }));
  ASSERT_TRUE(access().browser().IsBusy());
  form->moveDown();
  EXPECT_EQ(access().yPos(), 0.3f);
  EXPECT_EQ(Top(), 0);

  Eval("window.stop()");
  ASSERT_TRUE(PumpUntil([&] { return completions > before && !access().browser().IsBusy(); }));
  Settle();
  EXPECT_EQ(access().yPos(), 0.0f);
  EXPECT_EQ(Top(), 0);
  form->moveDown();
  EXPECT_EQ(Top(), 60);
}

TEST_F(PagingTest, AFrameThatNeverFinishesLoadingLeavesScrollingToThePilot) {
  // The page adds, once loaded, a frame that replaces its own address every few milliseconds;
  // none of its documents ever finishes, for a picture that never arrives.
  server.page("/",
              "<!DOCTYPE html><html><body style='margin:0'><div style='height:3000px'></div>"
              "<script>onload = () => { const f = document.createElement('iframe'); "
              "f.src = '/frame'; document.body.appendChild(f); };</script></body></html>");
  server.page("/frame",
              "<img src='/endless'><script>parent.loads = (parent.loads || 0) + 1; "
              "setTimeout(() => location.replace('/frame?' + Date.now()), 5);</script>");
  server.endlessPage("/endless");
  Open(server.url("/"));
  ASSERT_TRUE(PumpUntil([&] { return EvalInt("window.loads || 0") > 3; }));
  ASSERT_TRUE(PumpUntil([&] { return !access().browser().IsBusy(); }));
  const int loads = EvalInt("window.loads");
  form->moveDown();
  EXPECT_EQ(Top(), 60);
  form->moveDown();
  EXPECT_EQ(Top(), 120);
  EXPECT_EQ(access().yPos(), 0.6f);
  EXPECT_TRUE(PumpUntil([&] { return EvalInt("window.loads") > loads; }))
      << "the frame is still loading";
}

// No body to select in or to scroll: the stored position moves, the page does not.
TEST_F(PagingTest, PageThatIsNotHtmlIsNeitherSelectedInNorScrolled) {
  server.page("/picture.svg",
              "<svg xmlns='http://www.w3.org/2000/svg' width='3000' height='3000'>"
              "<a href='/x'><rect width='3000' height='3000' fill='blue'/></a></svg>",
              "image/svg+xml");
  Open(server.url("/picture.svg"));
  ASSERT_EQ(Eval("String(document.body)"), "null");
  EXPECT_EQ(Str(form->selectNext()), "");
  EXPECT_EQ(access().selectedIndex(), 0);
  form->moveDown();
  form->moveRight();
  EXPECT_EQ(access().yPos(), 0.3f);
  EXPECT_EQ(access().xPos(), 0.3f);
  EXPECT_EQ(EvalInt("window.scrollY"), 0);
  EXPECT_EQ(EvalInt("window.scrollX"), 0);
}

}  // namespace
}  // namespace BrovisTest
