// What a page costs the machine: the CPU time of the host and its whole browser over 10 s, for an
// animated page with a display redrawn every 100 ms and with no display drawn, for a still page
// redrawn every 100 ms, and for the animated page in a browser left to render at its own pace
// with no pictures taken (what the animation itself costs); and for the animated page on two
// displays of different sizes, each redrawn every 100 ms, beside one display in the same run.
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

// Redraws of `form` as a display of side x side is redrawn; each print is handed to `printed`.
std::function<void()> Redraws(Brovis::BrovisForm& form, int side = kSide,
                              std::function<void(const Win32::Surface&)> printed = {}) {
  auto surface = std::make_shared<Win32::Surface>(side, side);
  return [&form, surface, side, printed] {
    Win32::SurfaceDC dc(*surface);
    form.SetSize(side, side);
    PrintWindow(form.GetHandle(), dc.get(), 0);
    if (printed) printed(*surface);
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

// The animated page, green below 300 pixels of width and blue above, on a display of 512 x 512
// alone, then beside one of 256 x 256, both redrawn every 100 ms: the second size needs its own
// layout and pictures. A print that shows the other display's colour is a wrong-size print.
void BM_TwoSizesAnimatedCpu(benchmark::State& state) {
  PageDirectory pages;
  const std::string animated =
      pages.write("animated.html", std::string(kAnimatedPage) +
                                       "<style>body{background:#0f0}"
                                       "@media (min-width:300px){body{background:#00f}}</style>");
  constexpr int kSmallSide = 256;
  for (auto _ : state) {
    auto form = OpenWindow(animated);
    if (!form) return state.SkipWithError("no browser");
    int wrongSize = 0, prints = 0;
    const auto check = [&](Win32::Pixel other) {
      return [&wrongSize, &prints, other](const Win32::Surface& s) {
        ++prints;
        wrongSize += s.at(s.width() - 1, s.height() - 1) == other;
      };
    };
    const auto large = Redraws(*form, kSide, check(0xFF00FF00));
    CpuPercent(1s, 100ms, large);
    state.counters["one_display_cpu_percent"] = CpuPercent(10s, 100ms, large);
    const auto small = Redraws(*form, kSmallSide, check(0xFF0000FF));
    const auto both = [&] {
      small();
      large();
    };
    CpuPercent(1s, 100ms, both);
    state.counters["cpu_percent"] = CpuPercent(10s, 100ms, both);
    state.counters["wrong_size_prints"] = wrongSize;
    state.counters["prints"] = prints;
  }
}
BENCHMARK(BM_TwoSizesAnimatedCpu)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
