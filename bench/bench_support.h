#pragma once
// What the benchmarks share: pages on disk, message pumping, a window on a page.
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "browser/brovis_form.h"
#include "platform/orbiter/display_record.h"
#include "platform/orbiter/orbiter_host.h"
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

// A display of the mode, side x side, with its own surface, on `address` once it has loaded and
// been drawn; the process's browser is released with it.
class ModeDisplay {
 public:
  ModeDisplay(int side, const std::string& address,
              std::chrono::milliseconds settle = std::chrono::seconds(2));
  ~ModeDisplay();
  ModeDisplay(const ModeDisplay&) = delete;
  ModeDisplay& operator=(const ModeDisplay&) = delete;

  MFD& mode() { return *mode_; }
  HDC dc() const { return dc_.get(); }
  const Win32::Surface& surface() const { return surface_; }
  void Update() { mode_->Update(dc_.get()); }

 private:
  VESSEL vessel_;
  Win32::Surface surface_;
  Win32::SurfaceDC dc_{surface_};
  std::unique_ptr<MFD> mode_;
  OrbiterHost::DisplayRecord record_{*mode_};
};

// Proportional set size of a process and all its descendants, in megabytes.
double TreePssMegabytes(int pid);
// CPU time, user and system, that a process and all its living descendants have used, in seconds.
double TreeCpuSeconds(int pid);

// This process's peak resident memory in megabytes, since it started or since the last reset.
double PeakResidentMegabytes();
void ResetPeakResident();

}  // namespace BrovisBench
