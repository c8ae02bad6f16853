// Pages and machines that fight the pilot: a long text laid out while busy loops take both
// cores. The pilot keeps the page and what was typed into it.
#include "tests/browser/window_fixture.h"
#include "tests/support/busy_loops.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

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
