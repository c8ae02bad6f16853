#pragma once
// What the benchmarks share: pages on disk, message pumping, a window on a page.
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "browser/brovis_form.h"
#include "platform/orbiter/orbiter_api.h"
#include "tests/support/pump.h"

namespace BrovisBench {

using BrovisTest::PumpUntil;

// Pages written to a directory of their own, removed with the object.
class PageDirectory {
 public:
  PageDirectory();
  ~PageDirectory();
  // Writes the page and returns its file:// address.
  std::string write(const std::string& name, const std::string& html) const;

 private:
  std::filesystem::path dir_;
};

// A shown window on `address`, its first load completed and captured; null without a browser.
std::unique_ptr<Brovis::BrovisForm> OpenWindow(const std::string& address);

// Redraws `display` into `dc` as the host does, processing messages in between, for `time`.
void RedrawFor(MFD& display, HDC dc, std::chrono::milliseconds time);

// Proportional set size of a process and all its descendants, in megabytes.
double TreePssMegabytes(int pid);

}  // namespace BrovisBench
