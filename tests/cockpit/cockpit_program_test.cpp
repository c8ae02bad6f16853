// brovis-cockpit as a newcomer runs it: the real module and browser, offline, on local pages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

using ::testing::HasSubstr;

struct Result {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class CockpitProgram : public ::testing::Test {
 protected:
  void SetUp() override { std::filesystem::create_directories(dir); }
  void TearDown() override { std::filesystem::remove_all(dir); }

  // Runs the program with `args` on `script` given on standard input.
  Result Run(const std::string& args, const std::string& script) {
    std::ofstream(dir / "script") << script;
    const std::string command = std::string(BROVIS_COCKPIT) + " --offline --module " +
                                BROVIS_MODULE + " " + args + " < " + (dir / "script").string() +
                                " > " + (dir / "out").string() + " 2> " + (dir / "err").string();
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(dir / "out"), ReadFile(dir / "err")};
  }

  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("cockpit-program-" + std::to_string(::getpid()));
};

TEST_F(CockpitProgram, OpensDisplaysAndWritesSnapshots) {
  const Result r = Run("--size 200x150 --refresh 50 --out " + (dir / "shots").string() + " -",
                       "open 2 120x90\n"
                       "wait 200\n"
                       "snap one.png\n"
                       "select 2\n"
                       "settle 3000\n"
                       "snap two.png\n"
                       "labels\n"
                       "close 2\n");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_THAT(r.out, HasSubstr("snap " + (dir / "shots" / "one.png").string() + " 200x150\n"));
  EXPECT_THAT(r.out, HasSubstr("snap " + (dir / "shots" / "two.png").string() + " 120x90\n"));
  EXPECT_THAT(r.out, HasSubstr("label 0 Nxt\n"));
  EXPECT_THAT(r.out, HasSubstr("label 11 Fwd\n"));
  EXPECT_EQ(ReadFile(dir / "shots" / "two.png").substr(1, 3), "PNG");
}

TEST_F(CockpitProgram, ScriptErrorsExitWithTwoAndTheLine) {
  const Result r = Run("-", "wait 10\nbutton 5 0\ntype nowhere\nsnap never.png\n");
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("line 3: no input box is open\n"));
  EXPECT_EQ(r.out, "button 5 event 0 -> false\n");
}

TEST_F(CockpitProgram, UsageErrorsExitWithTwo) {
  const Result r = Run("--size huge", "");
  EXPECT_EQ(r.status, 2);
  EXPECT_THAT(r.err, HasSubstr("usage: brovis-cockpit"));
}

}  // namespace
