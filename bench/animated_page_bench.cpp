// What a page costs the machine: the CPU time of the host and its whole browser over 10 s, for an
// animated page with a display redrawn every 100 ms and with no display drawn, for a still page
// redrawn every 100 ms, and for the animated page in a browser left to render at its own pace
// with no pictures taken (what the animation itself costs).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "browser/engine/chromium/chromium_engine.h"
#include "platform/forms/application.h"
#include "platform/win32/win32.h"

namespace {

using namespace BrovisBench;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const char* kAnimatedPage =
    "<!DOCTYPE html><html><body style='margin:0;font:16px sans-serif'>"
    "<style>@keyframes turn { to { transform: rotate(360deg) } }</style>"
    "<h1>Loading</h1><div style='width:60px;height:60px;margin:40px;background:#36c;"
    "animation:turn 2s linear infinite'></div><p>A page with one animation.</p></body></html>";

// The share of one core the host and its browser used over `time`, calling `tick` (if any) every
// `period` and processing messages in between, as the host does.
double CpuPercent(std::chrono::milliseconds time, std::chrono::milliseconds period,
                  const std::function<void()>& tick) {
  const double cpuBefore = TreeCpuSeconds(::getpid());
  const auto start = Clock::now();
  for (auto next = start; next < start + time; next += period) {
    if (tick) tick();
    while (Clock::now() < next + period) {
      Forms::Application::WaitForMessages(
          std::chrono::duration_cast<std::chrono::milliseconds>(next + period - Clock::now()));
      Forms::Application::DoEvents();
    }
  }
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  return 100.0 * (TreeCpuSeconds(::getpid()) - cpuBefore) / wall;
}

const char* kStillPage =
    "<!DOCTYPE html><html><body style='margin:0;font:16px sans-serif'><h1>Still</h1>"
    "<p>A page that does not change.</p><a href='#'>link</a> <input value='field'></body></html>";

constexpr int kSide = 512;

// Redraws of `form` as a display of kSide x kSide is redrawn.
std::function<void()> Redraws(Brovis::BrovisForm& form) {
  auto surface = std::make_shared<Win32::Surface>(kSide, kSide);
  return [&form, surface] {
    Win32::SurfaceDC dc(*surface);
    form.SetSize(kSide, kSide);
    PrintWindow(form.GetHandle(), dc.get(), 0);
  };
}

// The animated page in a browser that renders at its own pace, loaded and sized like the display.
std::unique_ptr<Brovis::Engine::ChromiumEngine> FreeRunning(const std::string& address) {
  Brovis::Engine::ChromiumOptions options;
  options.frameControl = false;
  auto engine = std::make_unique<Brovis::Engine::ChromiumEngine>(options);
  engine->resize(kSide, kSide);
  engine->navigate(Brovis::FromUtf8Bytes(address));
  if (!PumpUntil([&] {
        engine->poll();
        return engine->document() && !engine->isBusy();
      }))
    return nullptr;
  return engine;
}

void BM_AnimatedPageCpu(benchmark::State& state) {
  PageDirectory pages;
  const std::string animated = pages.write("animated.html", kAnimatedPage);
  for (auto _ : state) {
    {
      auto form = OpenWindow(animated);
      if (!form) return state.SkipWithError("no browser");
      const auto redraw = Redraws(*form);
      CpuPercent(1s, 100ms, redraw);
      state.counters["cpu_percent"] = CpuPercent(10s, 100ms, redraw);
      state.counters["undrawn_cpu_percent"] = CpuPercent(10s, 100ms, {});
    }
    {
      auto form = OpenWindow(pages.write("still.html", kStillPage));
      if (!form) return state.SkipWithError("no browser");
      const auto redraw = Redraws(*form);
      CpuPercent(1s, 100ms, redraw);
      state.counters["still_cpu_percent"] = CpuPercent(10s, 100ms, redraw);
    }
    auto engine = FreeRunning(animated);
    if (!engine) return state.SkipWithError("no browser");
    CpuPercent(1s, 100ms, [&] { engine->poll(); });
    state.counters["free_running_cpu_percent"] = CpuPercent(10s, 100ms, [&] { engine->poll(); });
  }
}
BENCHMARK(BM_AnimatedPageCpu)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
