// A long flight: an animated page redrawn at the host's pace for thousands of redraws. Nothing
// the engine keeps may grow with the frames and commands seen, and so neither may a redraw's time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/bench_support.h"
#include "bridge/browser_interface.h"
#include "browser/engine/call_budget.h"
#include "platform/forms/application.h"
#include "platform/win32/win32.h"
#include "tests/browser/form_access.h"

namespace {

using namespace BrovisBench;
using Clock = std::chrono::steady_clock;

constexpr int kSide = 512;

// The page repaints at every frame for as long as it is shown.
const char* kAnimated =
    "<!DOCTYPE html><html><head><style>"
    "@keyframes turn { to { transform: rotate(360deg); } }"
    "div { width: 200px; height: 200px; margin: 100px; background: linear-gradient(red, blue);"
    "animation: turn 2s linear infinite; }"
    "</style></head><body><div></div></body></html>";

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  const auto middle = values.begin() + values.size() / 2;
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

void BM_LongFlight(benchmark::State& state) {
  PageDirectory pages;
  auto form = OpenWindow(pages.write("animated.html", kAnimated));
  if (!form) return state.SkipWithError("no browser");
  Brovis::BrovisFormTestAccess access(*form);
  Win32::Surface surface(kSide, kSide);
  Win32::SurfaceDC dc(surface);
  std::vector<double> redrawMs;
  redrawMs.reserve(state.max_iterations);
  for (auto _ : state) {
    // A display's redraw, as the bridge makes it, then the host's messages until the next one.
    const auto start = Clock::now();
    {
      const Brovis::Engine::CallBudget budget(Brovis::BrowserInterface::kRedrawBudget);
      form->SetSize(kSide, kSide);
      PrintWindow(form->GetHandle(), dc.get(), 0);
    }
    redrawMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    Forms::Application::WaitForMessages(std::chrono::milliseconds(15));
    Forms::Application::DoEvents();
  }
  const std::size_t tenth = std::max<std::size_t>(redrawMs.size() / 10, 1);
  const double first = Median({redrawMs.begin(), redrawMs.begin() + tenth});
  const double last = Median({redrawMs.end() - tenth, redrawMs.end()});
  state.counters["waiting_commands"] = static_cast<double>(access.diagnostics()->waitingCommands());
  state.counters["redraw_growth"] = first > 0 ? last / first : 0;
}
BENCHMARK(BM_LongFlight)->Iterations(3000)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
