#pragma once
// The simulator's side of a cockpit: the displays that show the module's mode and the frame loop
// that processes the thread's messages and redraws them.
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

#include "browser/page_progress.h"
#include "cockpit/display.h"
#include "platform/orbiter/orbiter_host.h"

namespace Cockpit {

// A display that cannot be opened or closed as asked.
class SimulatorError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Simulator {
 public:
  static constexpr auto kFramePeriod = std::chrono::microseconds(1'000'000 / 60);

  Simulator(OrbiterHost::RegisteredMode mode, std::chrono::milliseconds refresh);
  // Destroys the displays that are still open.
  ~Simulator();

  // The pilot selects the mode on display `number`. Throws SimulatorError when it is open already
  // or the module gives no display object.
  void Open(int number, int width, int height);
  // The same with another registered mode than the simulator's own.
  void Open(int number, int width, int height, const OrbiterHost::RegisteredMode& mode);
  // The display leaves the mode. Throws SimulatorError when it is not open.
  void Close(int number);
  void CloseAll();
  // The open display `number`, or null.
  Display* Find(int number);

  // Runs frames for `duration`, or until `done` says so after a frame.
  void Run(std::chrono::milliseconds duration, const std::function<bool()>& done = {});
  // Runs frames until `done` says so after a frame.
  void RunUntil(const std::function<bool()>& done);
  // One frame: the thread's messages, then an Update of every display that is due (its refresh
  // interval has passed) or was invalidated.
  void Frame();

  std::chrono::milliseconds refresh() const { return refresh_; }
  const OrbiterHost::RegisteredMode& mode() const { return mode_; }
  // Tells how far the module's browser is with its page, and how many displays do not show it as
  // it stands yet; without them the page counts as loaded and shown.
  void setProgress(std::function<Brovis::PageProgress()> progress,
                   std::function<int()> picturesOwed = {}) {
    progress_ = std::move(progress);
    picturesOwed_ = std::move(picturesOwed);
  }
  // Runs until the page is loaded, every open display shows it as it stands, and `display` has
  // not changed for the quiet time, for `limit` at most. Returns whether it settled.
  bool Settle(Display& display, std::chrono::milliseconds limit);
  // Runs until the browser has a page whose top document is not loading, for `limit` at most.
  // Returns whether it loaded.
  bool Loaded(std::chrono::milliseconds limit);
  // The browser has a page to take the pilot's commands.
  bool HasPage() const { return Progress() != Brovis::PageProgress::NoPage; }

  static constexpr std::chrono::milliseconds kQuietTime{300};

 private:
  void Loop(std::optional<Clock::time_point> end, const std::function<bool()>& done);
  Brovis::PageProgress Progress() const {
    return progress_ ? progress_() : Brovis::PageProgress::Loaded;
  }

  OrbiterHost::RegisteredMode mode_;
  std::chrono::milliseconds refresh_;
  VESSEL vessel_;
  std::map<int, std::unique_ptr<Display>> displays_;
  std::function<Brovis::PageProgress()> progress_;
  std::function<int()> picturesOwed_;
};

}  // namespace Cockpit
