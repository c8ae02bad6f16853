#include "browser/engine/chromium/process/browser_process.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>
#include <utility>
#include <vector>

namespace Brovis::Engine {

namespace {

// The headless shell: the engine drives its frames.
constexpr const char* kExecutable = "chromium-headless-shell";
// Debian's command runs the program as the child of a shell; the process started must be the
// browser's own, so the program it wraps is started instead.
constexpr std::pair<const char*, const char*> kWrappers[] = {
    {"/usr/bin/chromium-headless-shell", "/usr/lib/chromium/chromium-headless-shell"}};
// How long a killed browser may take to be reaped on the host's thread.
constexpr std::chrono::milliseconds kReapLimit{500};

// Killed browsers that were not reaped in time (a process in uninterruptible sleep outlives its
// SIGKILL for a while): reaped later, when the next browser starts or stops. A plain array, so
// that it works whenever a browser is stopped, even while the process's statics are destroyed.
pid_t stragglers[8] = {};

void ReapStragglers() {
  for (pid_t& pid : stragglers)
    if (pid > 0 && ::waitpid(pid, nullptr, WNOHANG) != 0) pid = 0;
}

void KeepStraggler(pid_t pid) {
  for (pid_t& slot : stragglers)
    if (slot <= 0) {
      slot = pid;
      return;
    }
  // All taken: this one stays a zombie until the host exits.
}

// True when the child has exited, without reaping it.
bool HasExited(pid_t pid) {
  siginfo_t info{};
  return ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == pid;
}

}  // namespace

std::string BrowserProcess::FindExecutable() {
  const char* path = ::getenv("PATH");
  std::stringstream dirs(path ? path : "/usr/local/bin:/usr/bin:/bin");
  for (std::string dir; std::getline(dirs, dir, ':');) {
    if (dir.empty()) continue;
    const std::string candidate = dir + "/" + kExecutable;
    if (::access(candidate.c_str(), X_OK) != 0) continue;
    for (const auto& [wrapper, program] : kWrappers)
      if (candidate == wrapper && ::access(program, X_OK) == 0) return program;
    return candidate;
  }
  return {};
}

std::optional<BrowserProcess> BrowserProcess::Launch(bool frameControl, std::string& error) {
  const std::string executable = FindExecutable();
  if (executable.empty()) {
    error = "no chromium-headless-shell installed";
    return std::nullopt;
  }

  ReapStragglers();
  BrowserDirectory::RemoveOrphans();
  auto directory = BrowserDirectory::Create(error);
  if (!directory) return std::nullopt;
  BrowserProcess process(std::move(*directory));

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
      "--user-data-dir=" + process.directory_.profile(),
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
  };
  // Nothing renders but the frames the engine asks for, and each runs every stage up to its
  // picture.
  if (frameControl)
    args.insert(args.end(),
                {"--enable-begin-frame-control", "--run-all-compositor-stages-before-draw"});
  // Chromium refuses to run as root unless its sandbox is off.
  if (::geteuid() == 0) args.insert(args.begin() + 1, "--no-sandbox");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The browser's own temporary files go into its directory too.
  const std::string temporary = "TMPDIR=" + process.directory_.temporary();
  std::vector<char*> envp;
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "TMPDIR=", 7) != 0) envp.push_back(*e);
  envp.push_back(const_cast<char*>(temporary.c_str()));
  envp.push_back(nullptr);
  const std::string log = process.directory_.log();
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
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }
  process.pid_ = pid;
  process.toBrowser_ = std::move(toOurs);
  process.fromBrowser_ = std::move(fromOurs);
  return process;
}

BrowserProcess::BrowserProcess(BrowserProcess&& other) noexcept
    : pid_(std::exchange(other.pid_, -1)),
      exited_(other.exited_),
      directory_(std::move(other.directory_)),
      toBrowser_(std::move(other.toBrowser_)),
      fromBrowser_(std::move(other.fromBrowser_)) {}

BrowserProcess::~BrowserProcess() { stop(std::chrono::milliseconds{0}); }

bool BrowserProcess::exited() {
  if (pid_ <= 0 || exited_) return true;
  exited_ = HasExited(pid_);
  return exited_;
}

void BrowserProcess::stop(std::chrono::milliseconds grace) {
  toBrowser_.reset();
  fromBrowser_.reset();
  if (pid_ > 0) {
    const auto deadline = std::chrono::steady_clock::now() + grace;
    while (!exited() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // Not reaped yet, so the id is still this browser's, and so is its group's (the group's
    // leader holds it): the whole group goes, the browser's helper processes with it. The
    // browser itself too, in case it had not made its group yet.
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    const auto reapBy = std::chrono::steady_clock::now() + kReapLimit;
    for (;;) {
      const pid_t r = ::waitpid(pid_, nullptr, WNOHANG);
      if (r == pid_ || (r < 0 && errno != EINTR)) break;
      if (std::chrono::steady_clock::now() >= reapBy) {
        KeepStraggler(pid_);
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    pid_ = -1;
    exited_ = true;
  }
  ReapStragglers();
  directory_.remove();
}

std::string BrowserProcess::stderrTail(std::size_t bytes) const {
  if (directory_.path().empty()) return {};
  std::ifstream in(directory_.log(), std::ios::binary);
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return all.size() > bytes ? all.substr(all.size() - bytes) : all;
}

}  // namespace Brovis::Engine
