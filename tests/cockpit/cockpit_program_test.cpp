// brovis-cockpit as a newcomer runs it: the real module and browser, offline, on local pages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>
#include <vector>

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

  // Runs the program with `args` on `script` given on standard input; `environment` goes first
  // on the command line ("NAME=value ...").
  Result Run(const std::string& args, const std::string& script,
             const std::string& environment = "") {
    std::ofstream(dir / "script") << script;
    const std::string command = environment + " " + BROVIS_COCKPIT + " --offline --module " +
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

// Every process whose command line names `text`.
std::vector<int> ProcessesNaming(const std::string& text) {
  std::vector<int> found;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    if (ReadFile(entry.path() / "cmdline").find(text) != std::string::npos)
      found.push_back(std::stoi(name));
  }
  return found;
}

int FilesUnder(const std::filesystem::path& dir) {
  int files = 0;
  std::error_code ec;
  for (auto it = std::filesystem::recursive_directory_iterator(dir, ec);
       !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec))
    ++files;
  return files;
}

bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

TEST_F(CockpitProgram, WhatTheBrowserOfAKilledHostLeftIsRemovedAtTheNextStart) {
  // The hosts' temporary directory is the test's own; beside the browsers' it holds a directory
  // named like theirs but not marked as one.
  const std::filesystem::path tmp = dir / "tmp";
  const std::filesystem::path unmarked = tmp / "brovis-browser-unmarked";
  std::filesystem::create_directories(unmarked);
  std::ofstream(dir / "killed-script") << "wait 60000\n";
  const pid_t host = ::fork();
  ASSERT_GE(host, 0);
  if (host == 0) {
    ::setenv("TMPDIR", tmp.c_str(), 1);
    if (!std::freopen((dir / "killed-script").c_str(), "r", stdin) ||
        !std::freopen("/dev/null", "w", stdout))
      ::_exit(127);
    ::execl(BROVIS_COCKPIT, BROVIS_COCKPIT, "--offline", "--size", "64x64", "--module",
            BROVIS_MODULE, "-", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  struct Reap {
    pid_t pid;
    ~Reap() {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, nullptr, 0);
    }
  } reap{host};

  // The host's browser runs, and has written its profile.
  std::filesystem::path left;
  ASSERT_TRUE(WaitFor(
      [&] {
        for (const auto& entry : std::filesystem::directory_iterator(tmp))
          if (entry.path() != unmarked && !ProcessesNaming(entry.path().string()).empty())
            left = entry.path();
        return !left.empty() && FilesUnder(left) > 10;
      },
      std::chrono::seconds(30)));
  // The simulator crashes: its browser goes with it, its directory stays.
  ::kill(host, SIGKILL);
  ASSERT_TRUE(
      WaitFor([&] { return ProcessesNaming(left.string()).empty(); }, std::chrono::seconds(10)));
  ASSERT_TRUE(std::filesystem::exists(left));

  const Result r = Run("--size 64x64 -", "settle 2000\n", "TMPDIR=" + tmp.string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_FALSE(std::filesystem::exists(left));
  std::vector<std::filesystem::path> remaining;
  for (const auto& entry : std::filesystem::directory_iterator(tmp))
    remaining.push_back(entry.path());
  EXPECT_EQ(remaining, std::vector<std::filesystem::path>{unmarked});
}

}  // namespace
