// Pages and machines that fight the pilot: a page that adds history entries from its load on, a
// frame that starts a new load every 40 ms, and a long text laid out while busy loops take both
// cores. The pilot still goes back, scrolls, and keeps the page and what was typed into it.
#include "tests/browser/window_fixture.h"
#include "tests/support/busy_loops.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

TEST_F(WindowTest, PagesThatFightThePilotLoseToIt) {
  server.page("/home", "<p>home</p>");
  server.page("/plain", "<p>plain</p>");
  server.page("/trap",
              "<p>trap</p><script>let n = 0; setInterval(() => "
              "history.pushState({}, '', '/trap?' + ++n), 20);</script>");
  server.endlessPage("/slow");
  server.page("/restless",
              "<!DOCTYPE html><html><body style='margin:0'><iframe src='/slow'></iframe>"
              "<div style='height:3000px'></div><script>let n = 0; setInterval(() => "
              "document.querySelector('iframe').src = '/slow?' + ++n, 40);</script></body></html>");

  // One step back from the trap lands on the page the pilot came from, one forward returns.
  Open(server.url("/home"));
  Load(server.url("/plain"));
  form->Navigate(Text(server.url("/trap")));
  // More entries than the history holds: the browser has dropped its oldest ones.
  ASSERT_TRUE(PumpUntil([&] { return EvalInt("n") >= 80; }));
  form->NavigateBack();
  EXPECT_TRUE(PumpUntil([&] { return Eval("location.pathname") == "/plain"; }));
  PumpFor(300ms);
  EXPECT_EQ(Eval("location.pathname"), "/plain");
  form->NavigateForward();
  EXPECT_TRUE(PumpUntil([&] { return Eval("location.pathname") == "/trap"; }));

  // The frame's loads hold no scroll, from the first move on.
  form->Navigate(Text(server.url("/restless")));
  ASSERT_TRUE(PumpUntil([&] {
    return Eval("location.pathname") == "/restless" && EvalInt("n") > 3 &&
           !access().browser().IsLoadingDocument();
  }));
  form->moveDown();
  EXPECT_EQ(EvalInt("document.documentElement.scrollTop"), 60);
  form->moveDown();
  EXPECT_EQ(EvalInt("document.documentElement.scrollTop"), 120);
}

TEST_F(WindowTest, AMebibyteLaidOutOnATakenMachineArrivesWhole) {
  // Narrow, so that the text wraps into many lines: laying them out keeps the renderer busy for
  // seconds while the loops run.
  server.page("/", "<p>text</p><textarea id='t' style='width:40px'></textarea>");
  Open(server.url("/"));
  ASSERT_EQ(Str(form->selectNext()), "TEXTAREA");
  const BusyLoops loops(2);
  ASSERT_EQ(loops.running(), 2);
  form->setKeyboard(Text(std::string(1 << 20, 'x')));
  EXPECT_TRUE(
      PumpUntil([&] { return Eval("document.getElementById('t').value.length") == "1048576"; }));
  EXPECT_EQ(access().diagnostics()->restartCount(), 0);
}

}  // namespace
}  // namespace BrovisTest
