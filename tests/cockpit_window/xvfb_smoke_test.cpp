// The real program with --window on a virtual X server: a pilot's click and typing through the
// X server reach the module, the screen shows the page, and the program closes cleanly.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>
#include <vector>

#include "cockpit/window/cockpit_window.h"
#include "tests/host/processes.h"
#include "tests/support/loopback_server.h"

namespace Cockpit {
namespace {

using Clock = std::chrono::steady_clock;

bool Installed(const char* program) {
  for (const char* dir : {"/usr/bin", "/usr/local/bin", "/bin"})
    if (::access((std::string(dir) + "/" + program).c_str(), X_OK) == 0) return true;
  return false;
}

// A child process, stopped and reaped when it goes out of scope.
class Child {
 public:
  // `outFd`, when not -1, becomes the child's descriptor `childFd` as well.
  Child(const std::vector<std::string>& argv, const std::vector<std::string>& env = {},
        int outFd = -1) {
    pid_ = ::fork();
    if (pid_ == 0) {
      for (const std::string& e : env) ::putenv(const_cast<char*>(e.c_str()));
      std::vector<char*> args;
      for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      const int devNull = ::open("/dev/null", O_RDWR);
      ::dup2(devNull, 0);
      if (outFd == -1) ::dup2(devNull, 1);
      ::execvp(args[0], args.data());
      ::_exit(127);
    }
  }
  ~Child() {
    if (pid_ > 0 && !status_) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, nullptr, 0);
    }
  }
  int pid() const { return pid_; }
  // The exit status once the child has ended by itself within `limit`.
  std::optional<int> Wait(std::chrono::milliseconds limit) {
    const auto end = Clock::now() + limit;
    while (!status_ && Clock::now() < end) {
      int raw = 0;
      if (::waitpid(pid_, &raw, WNOHANG) == pid_)
        status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
      else
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return status_;
  }

 private:
  int pid_ = -1;
  std::optional<int> status_;
};

// Runs a command and returns what it printed, with the trailing line break removed.
std::string Output(const std::string& command) {
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) out += buffer;
    ::pclose(pipe);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

// Polls `done` until it holds or the time is up.
bool Within(std::chrono::milliseconds limit, const std::function<bool()>& done) {
  const auto end = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() >= end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  return true;
}

// An image of the netpbm P6 kind, as ImageMagick writes it.
struct Picture {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  // How many pixels of `r` are within `tolerance` of 0xRRGGBB `colour` in every channel.
  int Count(const Win32::Rect& r, std::uint32_t colour, int tolerance) const {
    int n = 0;
    for (int y = std::max(r.top, 0); y < std::min(r.bottom, height); ++y)
      for (int x = std::max(r.left, 0); x < std::min(r.right, width); ++x) {
        const unsigned char* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        if (std::abs(p[0] - int((colour >> 16) & 0xFF)) <= tolerance &&
            std::abs(p[1] - int((colour >> 8) & 0xFF)) <= tolerance &&
            std::abs(p[2] - int(colour & 0xFF)) <= tolerance)
          ++n;
      }
    return n;
  }
};

std::optional<Picture> ReadPpm(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string magic;
  int maxValue = 0;
  Picture p;
  in >> magic >> p.width >> p.height >> maxValue;
  if (!in || magic != "P6" || maxValue != 255) return std::nullopt;
  in.get();
  p.rgb.resize(static_cast<std::size_t>(p.width) * p.height * 3);
  in.read(reinterpret_cast<char*>(p.rgb.data()), static_cast<std::streamsize>(p.rgb.size()));
  if (!in) return std::nullopt;
  return p;
}

TEST(XvfbSmoke, TheWindowFliesTheModuleOnARealXServer) {
  for (const char* program : {"Xvfb", "xdotool", "import"})
    if (!Installed(program))
      GTEST_SKIP() << program << " is not installed (scripts/install-deps brings it)";

  BrovisTest::LoopbackServer server;
  server.page("/", "<body style='margin:0;background:#33aa55'><h1>cockpit</h1></body>");

  // Xvfb picks a free display number itself and writes it to the pipe.
  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  Child xvfb({"Xvfb", "-displayfd", std::to_string(pipeFds[1]), "-screen", "0", "1024x768x24",
              "-nolisten", "tcp"},
             {}, pipeFds[1]);
  ::close(pipeFds[1]);
  std::string number;
  char c = 0;
  while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
  ::close(pipeFds[0]);
  if (number.empty()) GTEST_SKIP() << "Xvfb could not start a display";
  const std::string display = "DISPLAY=:" + number;

  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("cockpit-xvfb-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const WindowSettings settings{1, 320, 240};
  Child cockpit(
      {BROVIS_COCKPIT, "--window", "--offline", "--module", BROVIS_MODULE, "--size", "320x240"},
      {display});

  const std::string x = display + " ";
  const std::filesystem::path shot = dir / "screen.ppm";
  const auto screenshot = [&]() -> std::optional<Picture> {
    if (std::system(
            (x + "timeout 10 import -window root -depth 8 ppm:" + shot.string() + " 2>/dev/null")
                .c_str()))
      return std::nullopt;
    return ReadPpm(shot);
  };
  // The window, once it is on the screen: its id and its place, to find it in a shot.
  const ButtonLayout layout = CockpitWindow::LayoutFor(settings);
  std::string id;
  int left = -1, top = -1;
  const auto onScreen = [&](const Win32::Rect& r) { return r.offset(left, top); };
  ASSERT_TRUE(Within(std::chrono::seconds(30), [&] {
    id = Output(x + "timeout 10 xdotool search --onlyvisible --name 'Brovis cockpit' 2>/dev/null" +
                " | head -1");
    if (id.empty()) return false;
    std::istringstream geometry(Output(x + "timeout 10 xdotool getwindowgeometry --shell " + id +
                                       " 2>/dev/null | tr '=' ' '"));
    left = top = -1;
    for (std::string key, value; geometry >> key >> value;) {
      if (key == "X") left = std::stoi(value);
      if (key == "Y") top = std::stoi(value);
    }
    const auto p = left >= 0 && top >= 0 ? screenshot() : std::nullopt;
    return p && p->Count(onScreen(layout.frames()[0].frame), MfdFrame::kBezel & 0xFFFFFF, 2) > 1000;
  })) << "no window";

  // The URL button (5), then the address as typed on the keyboard, then Enter.
  const Win32::Rect& url = layout.frames()[0].sideButtons[5];
  const std::string click = x + "timeout 10 xdotool mousemove --window " + id + " " +
                            std::to_string((url.left + url.right) / 2) + " " +
                            std::to_string((url.top + url.bottom) / 2) + " click 1";
  ASSERT_EQ(std::system(click.c_str()), 0);
  // The module opens the box on the press; typing waits until the box is on the screen.
  ASSERT_TRUE(Within(std::chrono::seconds(20), [&] {
    const auto p = screenshot();
    return p && p->Count(onScreen(layout.frames()[0].screen), 0x2A3A4A, 2) > 1000;  // box face
  })) << "no input box";
  ASSERT_EQ(
      std::system((x + "timeout 30 xdotool type --delay 20 '" + server.url("/") + "'").c_str()), 0);
  ASSERT_EQ(std::system((x + "timeout 10 xdotool key Return").c_str()), 0);
  EXPECT_TRUE(server.waitForRequest("GET /", std::chrono::seconds(20)));

  const Win32::Rect& screen = layout.frames()[0].screen;
  EXPECT_TRUE(Within(std::chrono::seconds(20),
                     [&] {
                       const auto p = screenshot();
                       return p && p->Count(onScreen(screen), 0x33AA55, 6) >
                                       screen.width() * screen.height() / 2;
                     }))
      << "the page is not on the screen; last screenshot in " << shot;

  // Closing: the program leaves the window, the module and the browser behind it.
  const std::vector<int> tree = BrovisTest::ProcessTree(cockpit.pid());
  EXPECT_GT(tree.size(), 1u) << "a browser runs under the program";
  ::kill(cockpit.pid(), SIGTERM);
  EXPECT_EQ(cockpit.Wait(std::chrono::seconds(30)), 0);
  EXPECT_TRUE(Within(std::chrono::seconds(10), [&] {
    for (int pid : tree)
      if (BrovisTest::Alive(pid)) return false;
    return true;
  }));
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace Cockpit
