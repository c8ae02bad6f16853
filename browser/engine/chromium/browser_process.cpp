#include "browser/engine/chromium/browser_process.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace Brovis::Engine {

namespace {

constexpr const char* kExecutables[] = {"chromium", "chromium-browser", "google-chrome",
                                        "google-chrome-stable", "chrome"};

std::string LogPath(const std::string& profile) { return profile + "/browser.log"; }

}  // namespace

std::string BrowserProcess::FindExecutable() {
  const char* path = ::getenv("PATH");
  const std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  for (const char* name : kExecutables) {
    std::stringstream stream(dirs);
    std::string dir;
    while (std::getline(stream, dir, ':')) {
      if (dir.empty()) continue;
      const std::string candidate = dir + "/" + name;
      if (::access(candidate.c_str(), X_OK) == 0) return candidate;
    }
  }
  return {};
}

std::optional<BrowserProcess> BrowserProcess::Launch(std::string& error) {
  const std::string executable = FindExecutable();
  if (executable.empty()) {
    error = "no Chromium executable on the PATH";
    return std::nullopt;
  }

  std::string profileTemplate = std::filesystem::temp_directory_path().string() + "/brovis-XXXXXX";
  if (!::mkdtemp(profileTemplate.data())) {
    error = std::string("cannot create a profile directory: ") + std::strerror(errno);
    return std::nullopt;
  }
  BrowserProcess process;
  process.profile_ = profileTemplate;

  // Socket pairs rather than pipes: writes to them can refuse SIGPIPE (MSG_NOSIGNAL).
  int toBrowser[2], fromBrowser[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, toBrowser) != 0) {
    error = std::string("cannot create the debugging pipe: ") + std::strerror(errno);
    return std::nullopt;
  }
  UniqueFd toOurs(toBrowser[0]), toTheirs(toBrowser[1]);
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fromBrowser) != 0) {
    error = std::string("cannot create the debugging pipe: ") + std::strerror(errno);
    return std::nullopt;
  }
  UniqueFd fromOurs(fromBrowser[0]), fromTheirs(fromBrowser[1]);
  // One direction each: we only write to one and only read from the other.
  ::shutdown(toOurs.get(), SHUT_RD);
  ::shutdown(fromOurs.get(), SHUT_WR);

  std::vector<std::string> args = {
      executable,
      "--headless",
      "--remote-debugging-pipe",
      "--user-data-dir=" + process.profile_,
      "--hide-scrollbars",
      "--block-new-web-contents",
      "--no-first-run",
      "--no-default-browser-check",
      "--disable-background-networking",
      "--disable-component-update",
      "--disable-sync",
      "--disable-gpu",
      "--mute-audio",
      "--disable-breakpad",
      "--disable-crash-reporter",
      "--disable-dev-shm-usage",
      // One page needs no extensions and one renderer: less memory.
      "--disable-extensions",
      "--renderer-process-limit=1",
      // The machine's class for on-device models, given up front (the lowest): otherwise the
      // browser starts a utility process some three minutes in to benchmark the machine, and
      // keeps it for good.
      "--optimization-guide-performance-class=2",
      "about:blank",
  };
  // Chromium refuses to run as root unless its sandbox is off.
  if (::geteuid() == 0) args.insert(args.begin() + 1, "--no-sandbox");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const std::string log = LogPath(process.profile_);
  const pid_t parent = ::getpid();

  const pid_t pid = ::fork();
  if (pid < 0) {
    error = std::string("cannot start the browser: ") + std::strerror(errno);
    return std::nullopt;
  }
  if (pid == 0) {
    // Only async-signal-safe calls from here on.
    ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    // Move the browser's ends above 4 first, so that placing them on 3 and 4 cannot clobber
    // each other.
    const int in = ::fcntl(toTheirs.get(), F_DUPFD, 10);
    const int out = ::fcntl(fromTheirs.get(), F_DUPFD, 10);
    if (in < 0 || out < 0 || ::dup2(in, 3) < 0 || ::dup2(out, 4) < 0) ::_exit(127);
    const int devnull = ::open("/dev/null", O_RDWR);
    const int logfd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (devnull >= 0) {
      ::dup2(devnull, 0);
      ::dup2(devnull, 1);
    }
    if (logfd >= 0) ::dup2(logfd, 2);
    ::close_range(5, ~0U, 0);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  process.pid_ = pid;
  process.toBrowser_ = std::move(toOurs);
  process.fromBrowser_ = std::move(fromOurs);
  return process;
}

BrowserProcess::BrowserProcess(BrowserProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)),
      reaped_(other.reaped_),
      profile_(std::move(other.profile_)),
      toBrowser_(std::move(other.toBrowser_)),
      fromBrowser_(std::move(other.fromBrowser_)) {
  other.profile_.clear();
}

BrowserProcess::~BrowserProcess() { stop(std::chrono::milliseconds{0}); }

bool BrowserProcess::exited() {
  if (pid_ <= 0 || reaped_) return true;
  int status = 0;
  const pid_t r = ::waitpid(pid_, &status, WNOHANG);
  if (r == pid_ || (r < 0 && errno == ECHILD)) reaped_ = true;
  return reaped_;
}

void BrowserProcess::stop(std::chrono::milliseconds grace) {
  toBrowser_.reset();
  fromBrowser_.reset();
  if (pid_ > 0) {
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (!exited() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // The whole group: the browser's helper processes go with it. The browser itself too, in
    // case it had not made its group yet.
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    if (!reaped_) {
      int status = 0;
      while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
      }
      reaped_ = true;
    }
    pid_ = -1;
  }
  if (!profile_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(profile_, ignored);
    profile_.clear();
  }
}

std::string BrowserProcess::stderrTail(std::size_t bytes) const {
  if (profile_.empty()) return {};
  std::ifstream in(LogPath(profile_), std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return all.size() > bytes ? all.substr(all.size() - bytes) : all;
}

}  // namespace Brovis::Engine
