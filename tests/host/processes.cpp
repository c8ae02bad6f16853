#include "tests/host/processes.h"

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace BrovisTest {

namespace {

struct Stat {
  char state = '?';
  int ppid = 0;
};

// The whole of a file under /proc; empty when the process has gone. A process that exits between
// the opening and the reading fails the read, which the stream buffer reports by throwing.
std::string ReadProcFile(int pid, const char* name) {
  try {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  } catch (const std::ios_base::failure&) {
    return {};
  }
}

std::optional<Stat> ReadStat(int pid) {
  const std::string text = ReadProcFile(pid, "stat");
  // The command name in parentheses may hold spaces; the fields after it do not.
  const auto close = text.rfind(')');
  if (close == std::string::npos) return std::nullopt;
  std::istringstream fields(text.substr(close + 1));
  Stat stat;
  fields >> stat.state >> stat.ppid;
  if (!fields) return std::nullopt;
  return stat;
}

std::vector<int> AllProcesses() {
  std::vector<int> pids;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (!name.empty() && name.find_first_not_of("0123456789") == std::string::npos)
      pids.push_back(std::stoi(name));
  }
  return pids;
}

}  // namespace

std::string CommandLine(int pid) {
  std::string text = ReadProcFile(pid, "cmdline");
  for (char& c : text)
    if (c == '\0') c = ' ';
  return text;
}

std::vector<int> BrowserChildren() {
  // A child that has been forked but has not run its program yet still shows this process's
  // command line, and one in the middle of starting it shows none: it is waited for, or a busy
  // machine would hide a browser that is starting.
  const std::string ours = CommandLine(::getpid());
  const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  for (;;) {
    std::vector<int> children;
    bool starting = false;
    for (int pid : AllProcesses()) {
      const auto stat = ReadStat(pid);
      if (!stat || stat->ppid != ::getpid() || stat->state == 'Z') continue;
      const std::string command = CommandLine(pid);
      if (command.empty() || command == ours) starting = true;
      if (command.find("chromium") != std::string::npos) children.push_back(pid);
    }
    if (!starting || std::chrono::steady_clock::now() > giveUp) return children;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::vector<int> ProcessTree(int root) {
  std::vector<int> tree{root};
  const std::vector<int> all = AllProcesses();
  for (std::size_t i = 0; i < tree.size(); ++i)
    for (int pid : all)
      if (const auto stat = ReadStat(pid); stat && stat->ppid == tree[i]) tree.push_back(pid);
  return tree;
}

bool Alive(int pid) {
  const auto stat = ReadStat(pid);
  return stat && stat->state != 'Z' && stat->state != 'X';
}

std::optional<std::string> ProfileDirectory(int pid) {
  const std::string line = CommandLine(pid);
  const std::string flag = "--user-data-dir=";
  const auto at = line.find(flag);
  if (at == std::string::npos) return std::nullopt;
  const auto end = line.find(' ', at);
  return line.substr(at + flag.size(), end == std::string::npos ? end : end - at - flag.size());
}

}  // namespace BrovisTest
