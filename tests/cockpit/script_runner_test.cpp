// The host program's side of a script, against a display object of the test's own: what it
// sends the display, what it prints, and how it reports a line that cannot run.
#include "cockpit/script_runner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/code_page.h"
#include "tests/support/fake_display.h"

namespace Cockpit {
namespace {

using ::testing::HasSubstr;
BrovisTest::FakeRecord& record = BrovisTest::fake;

class ScriptRunnerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Win32::SetAnsiCodePage(Win32::kDefaultAnsiCodePage);
    simulator.Open(1, 64, 48);
  }
  void TearDown() override {
    std::filesystem::remove_all(outDir);
    OrbiterHost::CancelInputBox();
  }
  // The script's exit status; what it printed is in `out` and `err`.
  int Run(const std::string& script) {
    std::istringstream in(script);
    return RunScript(in, runner, err);
  }

  BrovisTest::FakeMode fakeMode;
  Simulator simulator{fakeMode.mode(), std::chrono::milliseconds(10000)};
  const std::filesystem::path outDir =
      std::filesystem::temp_directory_path() / ("cockpit-test-" + std::to_string(::getpid()));
  std::ostringstream out;
  std::ostringstream err;
  ScriptRunner runner{simulator, outDir, out};
};

TEST_F(ScriptRunnerTest, ReportsTheDisplaysAnswers) {
  EXPECT_EQ(Run("# a comment\n"
                "button 5 0\n"
                "button 5\n"
                "type http://127.0.0.1/\n"
                "key up\n"
                "key 17\n"
                "labels\n"
                "menu\n"),
            0);
  EXPECT_EQ(out.str(),
            "button 5 event 0 -> false\n"
            "inputbox \"Input URL\" len=60\n"
            "button 5 event 1 -> true\n"
            "key 200 -> true\n"
            "key 17 -> false\n"
            "label 0 NXT\n"
            "label 1 -\nlabel 2 -\nlabel 3 -\nlabel 4 -\nlabel 5 URL\nlabel 6 -\nlabel 7 DWN\n"
            "label 8 -\nlabel 9 -\nlabel 10 -\nlabel 11 -\n"
            "menu 2\n"
            "menu 0 \"Load URL\" - 'U'\n"
            "menu 1 \"Scroll up\" \"SHFT-Arrow up\" -\n");
  EXPECT_EQ(record.typed, std::vector<std::string>{"http://127.0.0.1/"});
  EXPECT_EQ(err.str(), "");
}

TEST_F(ScriptRunnerTest, TypedTextReachesTheDisplayInTheHostsCodePage) {
  EXPECT_EQ(Run("url café\n"), 0);
  Win32::SetAnsiCodePage(1251);
  EXPECT_EQ(Run("button 5\ntype жук ✓\n"), 0);
  // The code page's character set goes by another name than its number.
  Win32::SetAnsiCodePage(20866);
  EXPECT_EQ(Run("button 5\ntype жук\n"), 0);
  EXPECT_EQ(record.typed, (std::vector<std::string>{"caf\xE9", "\xE6\xF3\xEA ?", "\xD6\xD5\xCB"}));
}

TEST_F(ScriptRunnerTest, ErrorsNameTheLine) {
  EXPECT_EQ(Run("type nothing open\n"), 2);
  EXPECT_EQ(err.str(), "line 1: no input box is open\n");
  err.str("");
  EXPECT_EQ(Run("\n# x\nselect 4\nbutton 1\n"), 2);
  EXPECT_EQ(err.str(), "line 4: display 4 is not open\n");
  err.str("");
  EXPECT_EQ(Run("open 1 10x10\n"), 2);
  EXPECT_EQ(err.str(), "line 1: display 1 is open already\n");
  err.str("");
  EXPECT_EQ(Run("cancel\n"), 2);
  EXPECT_EQ(err.str(), "line 1: no input box is open\n");
  err.str("");
  EXPECT_EQ(Run("select 1\nbogus\nlabels\n"), 2);
  EXPECT_EQ(err.str(), "line 2: unknown command 'bogus'\n");
}

TEST_F(ScriptRunnerTest, CancelClosesTheBoxWithoutCallingBack) {
  EXPECT_EQ(Run("button 5\ncancel\n"), 0);
  EXPECT_TRUE(record.typed.empty());
  EXPECT_EQ(Run("type late\n"), 2);
}

TEST_F(ScriptRunnerTest, OpenAndCloseCreateAndDestroyDisplayObjects) {
  EXPECT_EQ(Run("open 3 20x10\nopen 8 30x30\n"), 0);
  EXPECT_EQ(record.alive, 3);
  EXPECT_EQ(Run("close 3\nclose 1\n"), 0);
  EXPECT_EQ(record.alive, 1);
  EXPECT_EQ(Run("close 3\n"), 2);
  simulator.CloseAll();
  EXPECT_EQ(record.alive, 0);
}

TEST_F(ScriptRunnerTest, SnapWritesTheDisplayAsPng) {
  EXPECT_EQ(Run("open 2 40x30\nselect 2\nsnap shots/two.png\n"), 0);
  const std::filesystem::path file = outDir / "shots" / "two.png";
  EXPECT_EQ(out.str(), "snap " + file.string() + " 40x30\n");
  std::ifstream png(file, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(png)), {});
  ASSERT_GT(bytes.size(), 24u);
  EXPECT_EQ(bytes.substr(1, 3), "PNG");
  // The header's width and height, big-endian.
  EXPECT_EQ(bytes.substr(16, 8), std::string("\0\0\0\x28\0\0\0\x1e", 8));
}

TEST_F(ScriptRunnerTest, SettleWaitsForAQuietDisplay) {
  Simulator fast{fakeMode.mode(), std::chrono::milliseconds(20)};
  fast.Open(1, 8, 8);
  EXPECT_TRUE(fast.Settle(*fast.Find(1), std::chrono::milliseconds(2000)));
  record.changing = true;
  EXPECT_FALSE(fast.Settle(*fast.Find(1), std::chrono::milliseconds(400)));
  // A still display, and a loaded page that another display does not show yet: not settled
  // until it does.
  record.changing = false;
  int owed = 1;
  fast.setProgress([] { return Brovis::PageProgress::Loaded; }, [&] { return owed; });
  EXPECT_FALSE(fast.Settle(*fast.Find(1), std::chrono::milliseconds(400)));
  owed = 0;
  EXPECT_TRUE(fast.Settle(*fast.Find(1), std::chrono::milliseconds(2000)));
}

}  // namespace
}  // namespace Cockpit
