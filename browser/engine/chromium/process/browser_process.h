#pragma once
// One headless Chromium process (the headless shell): found where Debian installs it or on the
// PATH, started with its debugging pipe on fds 3 and
// 4 in a directory of its own (profile, temporary files, log), bound to die with its parent, and
// stopped, reaped and cleaned up by the one object that owns it.
#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

#include "browser/engine/chromium/process/browser_directory.h"
#include "browser/engine/chromium/protocol/unique_fd.h"

namespace Brovis::Engine {

class BrowserProcess {
 public:
  // Starts the browser, after removing what browsers of dead owners left behind, rendering only
  // the frames asked of it when `frameControl`; on failure returns none and says why in `error`.
  static std::optional<BrowserProcess> Launch(bool frameControl, std::string& error);

  BrowserProcess(BrowserProcess&& other) noexcept;
  BrowserProcess& operator=(BrowserProcess&&) = delete;
  ~BrowserProcess();

  pid_t pid() const { return pid_; }
  const std::string& directory() const { return directory_.path(); }
  // The ends of the debugging pipe, handed over once.
  UniqueFd takeReadEnd() { return std::move(fromBrowser_); }
  UniqueFd takeWriteEnd() { return std::move(toBrowser_); }

  // Waits up to `grace` for the browser to exit by itself, then kills its whole process group,
  // reaps it and removes its directory; the host's thread is held for `grace` and a short wait
  // for the reaping at most. Idempotent.
  void stop(std::chrono::milliseconds grace);
  // True once the browser process has exited. It is not reaped before stop(), so that its id,
  // and its group's, stay ours to signal.
  bool exited();
  // The last lines the browser wrote to its standard error.
  std::string stderrTail(std::size_t bytes = 2000) const;

  // The browser's executable, or empty.
  static std::string FindExecutable();

 private:
  explicit BrowserProcess(BrowserDirectory directory) : directory_(std::move(directory)) {}

  pid_t pid_ = -1;
  bool exited_ = false;
  BrowserDirectory directory_;
  UniqueFd toBrowser_;
  UniqueFd fromBrowser_;
};

}  // namespace Brovis::Engine
