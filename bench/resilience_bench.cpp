// Recovery: from killing the browser until the display shows the page again; and how long the
// host's thread is held by a pilot's command and a redraw on a page whose script never yields.
#include <benchmark/benchmark.h>
#include <signal.h>

#include "bench/bench_support.h"
#include "host/brovis.h"
#include "host/browser_root.h"
#include "platform/win32/win32.h"
#include "tests/browser/form_access.h"

namespace {

using namespace BrovisBench;
using Clock = std::chrono::steady_clock;

void BM_RecoverFromCrash(benchmark::State& state) {
  PageDirectory pages;
  auto form =
      OpenWindow(pages.write("green.html", "<body style='margin:0;background:#00ff00'></body>"));
  if (!form) return state.SkipWithError("no browser");
  Brovis::BrovisFormTestAccess access(*form);
  Win32::Surface surface(64, 64);
  Win32::SurfaceDC dc(surface);
  const auto redraw = [&] {
    surface = Win32::Surface(64, 64);
    form->SetSize(64, 64);
    PrintWindow(form->GetHandle(), dc.get(), 0);
    return surface.at(32, 32) == 0xFF00FF00u;
  };
  PumpUntil(redraw);
  for (auto _ : state) {
    ::kill(access.diagnostics()->browserProcessId(), SIGKILL);
    const int before = access.diagnostics()->restartCount();
    // Shown again: a new browser, and its picture of the page on the display.
    if (!PumpUntil([&] {
          return access.diagnostics()->restartCount() > before && !access.browser().IsBusy() &&
                 redraw();
        }))
      return state.SkipWithError("the page did not come back");
    state.PauseTiming();
    // Spaced out, so that the restarts stay within what the engine allows in a minute.
    PumpUntil([] { return false; }, std::chrono::milliseconds(12000));
    state.ResumeTiming();
  }
}
BENCHMARK(BM_RecoverFromCrash)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The longest single command and the longest redraw while the page's click handler never yields;
// an iteration is three commands.
void BM_HungPageCommand(benchmark::State& state) {
  PageDirectory pages;
  const std::string page =
      pages.write("trap.html", "<a href='#' onclick='while (true) {}'>trap</a>");
  double longestRedrawMs = 0, longestCommandMs = 0;
  {
    ModeDisplay display(128, page, std::chrono::milliseconds(1500));
    const auto timed = [&](auto command) {
      const auto start = Clock::now();
      command();
      longestCommandMs =
          std::max(longestCommandMs,
                   std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    };
    for (auto _ : state) {
      timed([&] { display.mode().ConsumeButton(0, 1); });  // Nxt: the link
      timed([&] { display.mode().ConsumeButton(2, 1); });  // Clk: the page hangs
      timed([&] { display.mode().ConsumeButton(0, 1); });  // the next command meets the hung page
      state.PauseTiming();
      for (int i = 0; i < 20; ++i) {
        const auto start = Clock::now();
        display.Update();
        longestRedrawMs =
            std::max(longestRedrawMs,
                     std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        PumpUntil([] { return false; }, std::chrono::milliseconds(20));
      }
      Brovis::EnsureBrowser().Navigate(page.c_str());
      RedrawFor(display.mode(), display.dc(), std::chrono::milliseconds(1500));
      state.ResumeTiming();
    }
  }
  state.counters["longest_redraw_ms"] = longestRedrawMs;
  state.counters["longest_command_ms"] = longestCommandMs;
}
BENCHMARK(BM_HungPageCommand)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

}  // namespace
