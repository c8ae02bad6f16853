// What an animated page costs the machine: the CPU time of the host and its whole browser over
// 10 s, with a display redrawn every 100 ms, with no display drawn, and with no pictures asked for
// at all (what the animation itself costs the browser).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <functional>

#include "bench/bench_support.h"
#include "browser/engine/chromium/chromium_engine.h"
#include "platform/forms/application.h"
#include "platform/win32/win32.h"
#include "tests/browser/form_access.h"

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

void BM_AnimatedPageCpu(benchmark::State& state) {
  constexpr int kSide = 512;
  PageDirectory pages;
  auto form = OpenWindow(pages.write("animated.html", kAnimatedPage));
  if (!form) return state.SkipWithError("no browser");
  Brovis::BrovisFormTestAccess access(*form);
  auto* engine = dynamic_cast<Brovis::Engine::ChromiumEngine*>(access.browser().engine());
  if (!engine) return state.SkipWithError("no browser");
  Win32::Surface surface(kSide, kSide);
  Win32::SurfaceDC dc(surface);
  const auto redraw = [&] {
    form->SetSize(kSide, kSide);
    PrintWindow(form->GetHandle(), dc.get(), 0);
  };
  for (auto _ : state) {
    CpuPercent(1s, 100ms, redraw);
    state.counters["cpu_percent"] = CpuPercent(10s, 100ms, redraw);
    state.counters["undrawn_cpu_percent"] = CpuPercent(10s, 100ms, {});
    engine->stopPictures();
    state.counters["page_only_cpu_percent"] = CpuPercent(10s, 100ms, {});
  }
}
BENCHMARK(BM_AnimatedPageCpu)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
