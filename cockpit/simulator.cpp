#include "cockpit/simulator.h"

#include <algorithm>
#include <thread>

#include "platform/forms/application.h"

namespace Cockpit {

Simulator::Simulator(OrbiterHost::RegisteredMode mode, std::chrono::milliseconds refresh)
    : mode_(std::move(mode)), refresh_(refresh) {}

Simulator::~Simulator() { CloseAll(); }

void Simulator::Open(int number, int width, int height) { Open(number, width, height, mode_); }

void Simulator::Open(int number, int width, int height, const OrbiterHost::RegisteredMode& mode) {
  if (displays_.count(number))
    throw SimulatorError("display " + std::to_string(number) + " is open already");
  auto hosted =
      OrbiterHost::HostedDisplay::Open(mode, static_cast<UINT>(number), static_cast<DWORD>(width),
                                       static_cast<DWORD>(height), &vessel_);
  if (!hosted) throw SimulatorError("the module opened no display");
  displays_[number] = std::make_unique<Display>(width, height, std::move(hosted));
}

void Simulator::Close(int number) {
  if (!displays_.erase(number))
    throw SimulatorError("display " + std::to_string(number) + " is not open");
}

void Simulator::CloseAll() { displays_.clear(); }

Display* Simulator::Find(int number) {
  const auto it = displays_.find(number);
  return it == displays_.end() ? nullptr : it->second.get();
}

void Simulator::Frame() {
  Forms::Application::DoEvents();
  for (auto& [number, display] : displays_) {
    const Clock::time_point now = Clock::now();
    // Taken every frame, so that a request is answered once.
    const bool invalidated = display->TakeInvalidated();
    if (invalidated || now - display->lastRedraw() >= refresh_) display->Redraw(now);
  }
}

void Simulator::Run(std::chrono::milliseconds duration, const std::function<bool()>& done) {
  Loop(Clock::now() + duration, done);
}

void Simulator::RunUntil(const std::function<bool()>& done) { Loop(std::nullopt, done); }

void Simulator::Loop(std::optional<Clock::time_point> end, const std::function<bool()>& done) {
  for (;;) {
    const Clock::time_point frameStart = Clock::now();
    Frame();
    if (done && done()) return;
    const Clock::time_point next =
        end ? std::min(frameStart + kFramePeriod, *end) : frameStart + kFramePeriod;
    if (end && Clock::now() >= *end) return;
    // Messages that arrive between frames are handled as they come, as a message loop would;
    // once per frame, so that a source that stays readable cannot spin the loop.
    Forms::Application::WaitForMessages(
        std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()));
    Forms::Application::DoEvents();
    std::this_thread::sleep_until(next);
  }
}

bool Simulator::Settle(Display& display, std::chrono::milliseconds limit) {
  // A still display alone proves nothing: a browser that starts, or lays out a heavy page, keeps
  // showing the title or the page before, and a display of another size may not have its own
  // picture yet. The quiet time counts from the load's end, and from the last picture owed.
  Clock::time_point quietFrom = Clock::now();
  bool settled = false;
  Run(limit, [&] {
    if (Progress() != Brovis::PageProgress::Loaded || (picturesOwed_ && picturesOwed_() > 0)) {
      quietFrom = Clock::now();
      return false;
    }
    const Clock::time_point quietSince = std::max(display.lastChange(), quietFrom);
    settled = Clock::now() - quietSince >= kQuietTime;
    return settled;
  });
  return settled;
}

bool Simulator::Loaded(std::chrono::milliseconds limit) {
  bool loaded = Progress() == Brovis::PageProgress::Loaded;
  if (!loaded) Run(limit, [&] { return loaded = Progress() == Brovis::PageProgress::Loaded; });
  return loaded;
}

}  // namespace Cockpit
