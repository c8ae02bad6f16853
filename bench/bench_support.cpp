#include "bench/bench_support.h"

#include <stdlib.h>
#include <unistd.h>

#include <fstream>
#include <map>
#include <sstream>
#include <vector>

#include "host/brovis.h"
#include "host/browser_root.h"
#include "platform/forms/application.h"
#include "tests/browser/form_access.h"

namespace BrovisBench {

PageDirectory::PageDirectory() {
  std::string path = (std::filesystem::temp_directory_path() / "brovis-bench-XXXXXX").string();
  if (::mkdtemp(path.data())) dir_ = path;
}

PageDirectory::~PageDirectory() {
  std::error_code ignored;
  if (!dir_.empty()) std::filesystem::remove_all(dir_, ignored);
}

std::string PageDirectory::write(const std::string& name, const std::string& html) const {
  const auto path = dir_ / name;
  std::ofstream(path) << html;
  return "file://" + path.string();
}

std::unique_ptr<Brovis::BrovisForm> OpenWindow(const std::string& address) {
  auto form = std::make_unique<Brovis::BrovisForm>(Brovis::FromUtf8Bytes(address));
  Brovis::BrovisFormTestAccess access(*form);
  if (!access.browser().engine()) return nullptr;
  form->Show();
  form->SendToBack();
  if (!PumpUntil([&] { return !access.browser().IsBusy() && access.bm(); })) return nullptr;
  return form;
}

void RedrawFor(MFD& display, HDC dc, std::chrono::milliseconds time) {
  const auto until = std::chrono::steady_clock::now() + time;
  while (std::chrono::steady_clock::now() < until) {
    display.Update(dc);
    Forms::Application::WaitForMessages(std::chrono::milliseconds(15));
    Forms::Application::DoEvents();
  }
}

ModeDisplay::ModeDisplay(int side, const std::string& address, std::chrono::milliseconds settle)
    : surface_(side, side), mode_(std::make_unique<Brovis::Brovis>(side, side, &vessel_)) {
  Brovis::EnsureBrowser().Navigate(address.c_str());
  RedrawFor(*mode_, dc_.get(), settle);
}

ModeDisplay::~ModeDisplay() {
  mode_.reset();
  Brovis::ReleaseBrowser();
}

namespace {

// A process and all its descendants, each with the fields of its /proc stat line after the
// command name (state first).
std::vector<std::pair<int, std::vector<std::string>>> ProcessTree(int root) {
  std::map<int, std::vector<int>> children;
  std::map<int, std::vector<std::string>> stats;
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 2));
    std::vector<std::string> fields;
    for (std::string field; rest >> field;) fields.push_back(std::move(field));
    if (fields.size() < 13) continue;
    const int pid = std::stoi(name);
    children[std::stoi(fields[1])].push_back(pid);
    stats[pid] = std::move(fields);
  }
  std::vector<std::pair<int, std::vector<std::string>>> tree;
  std::vector<int> pending{root};
  while (!pending.empty()) {
    const int pid = pending.back();
    pending.pop_back();
    for (int child : children[pid]) pending.push_back(child);
    tree.emplace_back(pid, std::move(stats[pid]));
  }
  return tree;
}

}  // namespace

double TreePssMegabytes(int root) {
  double kilobytes = 0;
  for (const auto& [pid, stat] : ProcessTree(root)) {
    std::ifstream rollup("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string key;
    double value;
    std::string unit;
    while (rollup >> key) {
      if (key == "Pss:") {
        rollup >> value >> unit;
        kilobytes += value;
        break;
      }
      rollup.ignore(1 << 12, '\n');
    }
  }
  return kilobytes / 1024.0;
}

double TreeCpuSeconds(int root) {
  // User and system time, the 14th and 15th fields of the stat line (11th and 12th here).
  double ticks = 0;
  for (const auto& [pid, stat] : ProcessTree(root))
    if (stat.size() > 12) ticks += std::stod(stat[11]) + std::stod(stat[12]);
  return ticks / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

double PeakResidentMegabytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  return 0.0;
}

// Writing 5 to clear_refs sets the peak back to what is resident now.
void ResetPeakResident() { std::ofstream("/proc/self/clear_refs") << "5"; }

}  // namespace BrovisBench
