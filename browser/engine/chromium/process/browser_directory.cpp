#include "browser/engine/chromium/process/browser_directory.h"

#include <errno.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

namespace Brovis::Engine {

namespace {

namespace fs = std::filesystem;

constexpr char kPrefix[] = "brovis-browser-";
constexpr char kMarker[] = "owner";
constexpr char kMarkerTitle[] = "brovis browser directory";

// Who owns a directory. Process ids are only comparable within one host, boot and process id
// namespace; the start time tells a process from a later one that got the same id.
struct Owner {
  std::string host;
  std::string boot;
  std::string pidNamespace;
  long pid = 0;
  unsigned long long start = 0;
};

std::string FirstLine(const char* path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  return line;
}

std::string HostName() {
  char name[256] = {};
  if (::gethostname(name, sizeof name - 1) != 0) return {};
  return name;
}

std::string PidNamespace() {
  char link[128] = {};
  const ssize_t n = ::readlink("/proc/self/ns/pid", link, sizeof link - 1);
  return n > 0 ? std::string(link, static_cast<std::size_t>(n)) : std::string();
}

// The start time of a living process, in clock ticks since boot (the 22nd field of its stat
// line); none when there is no such process or it has died and waits to be reaped.
std::optional<unsigned long long> StartTime(long pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(in, line)) return std::nullopt;
  // The command name in parentheses may hold anything; the fields after it are plain.
  const auto close = line.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(line.substr(close + 1));
  std::string state, field;
  fields >> state;
  if (state == "Z" || state == "X") return std::nullopt;
  for (int i = 4; i < 22; ++i) fields >> field;
  unsigned long long start = 0;
  if (!(fields >> start)) return std::nullopt;
  return start;
}

std::optional<Owner> ThisProcess() {
  Owner owner{HostName(), FirstLine("/proc/sys/kernel/random/boot_id"), PidNamespace(),
              static_cast<long>(::getpid()), 0};
  const auto start = StartTime(owner.pid);
  if (owner.boot.empty() || owner.pidNamespace.empty() || !start) return std::nullopt;
  owner.start = *start;
  return owner;
}

std::string MarkerText(const Owner& owner) {
  std::ostringstream out;
  out << kMarkerTitle << "\nhost " << owner.host << "\nboot " << owner.boot << "\npidns "
      << owner.pidNamespace << "\npid " << owner.pid << "\nstart " << owner.start << "\n";
  return out.str();
}

// The owner named by a marker, or none when the text is not a marker as written above.
std::optional<Owner> ParseMarker(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line != kMarkerTitle) return std::nullopt;
  Owner owner;
  const auto field = [&](const char* name, std::string& value) {
    const std::string prefix = std::string(name) + " ";
    if (!std::getline(in, line) || line.rfind(prefix, 0) != 0) return false;
    value = line.substr(prefix.size());
    return true;
  };
  std::string pid, start;
  if (!field("host", owner.host) || !field("boot", owner.boot) ||
      !field("pidns", owner.pidNamespace) || !field("pid", pid) || !field("start", start))
    return std::nullopt;
  char* end = nullptr;
  owner.pid = std::strtol(pid.c_str(), &end, 10);
  if (pid.empty() || *end || owner.pid <= 0) return std::nullopt;
  owner.start = std::strtoull(start.c_str(), &end, 10);
  if (start.empty() || *end) return std::nullopt;
  return owner;
}

// Dead for certain: the machine restarted since, or the process is gone or is another one now.
// An owner on another host or in another process id namespace cannot be looked at from here.
bool CertainlyDead(const Owner& owner, const Owner& self) {
  if (owner.host != self.host || owner.pidNamespace != self.pidNamespace) return false;
  if (owner.boot != self.boot) return true;
  const auto start = StartTime(owner.pid);
  return !start || *start != owner.start;
}

// A real directory (no link to one) of this user's.
bool OwnDirectory(const fs::path& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid();
}

std::optional<std::string> ReadMarker(const fs::path& directory) {
  const fs::path marker = directory / kMarker;
  struct stat st;
  // A marker is a small plain file; anything else is not one.
  if (::lstat(marker.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > 4096)
    return std::nullopt;
  std::ifstream in(marker, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

std::optional<BrowserDirectory> BrowserDirectory::Create(std::string& error) {
  const auto self = ThisProcess();
  if (!self) {
    error = "cannot tell this process's start time";
    return std::nullopt;
  }
  std::error_code ec;
  fs::path base = fs::temp_directory_path(ec);
  if (ec) base = "/tmp";
  std::string path = (base / kPrefix).string() + "XXXXXX";
  if (!::mkdtemp(path.data())) {
    error = std::string("cannot create the browser's directory: ") + std::strerror(errno);
    return std::nullopt;
  }
  BrowserDirectory directory(path);
  // Marked last, and in one step, so that a marker is never seen half written.
  const std::string draft = path + "/" + kMarker + ".new";
  if (::mkdir(directory.profile().c_str(), 0700) != 0 ||
      ::mkdir(directory.temporary().c_str(), 0700) != 0 ||
      !(std::ofstream(draft, std::ios::binary) << MarkerText(*self)) ||
      ::rename(draft.c_str(), (path + "/" + kMarker).c_str()) != 0) {
    error = std::string("cannot prepare the browser's directory: ") + std::strerror(errno);
    return std::nullopt;
  }
  return directory;
}

void BrowserDirectory::RemoveOrphans() {
  const auto self = ThisProcess();
  if (!self) return;
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) return;
  for (auto it = fs::directory_iterator(base, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::path& path = it->path();
    if (path.filename().string().rfind(kPrefix, 0) != 0 || !OwnDirectory(path)) continue;
    const auto text = ReadMarker(path);
    if (!text) continue;
    const auto owner = ParseMarker(*text);
    if (!owner || !CertainlyDead(*owner, *self)) continue;
    std::error_code ignored;
    fs::remove_all(path, ignored);
  }
}

BrowserDirectory::BrowserDirectory(BrowserDirectory&& other) noexcept
    : path_(std::exchange(other.path_, {})) {}

void BrowserDirectory::remove() {
  if (path_.empty()) return;
  std::error_code ignored;
  fs::remove_all(path_, ignored);
  path_.clear();
}

}  // namespace Brovis::Engine
