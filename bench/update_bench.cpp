// A display's whole redraw on a page that does not change: the title, then the window sized to
// the display and printed into its surface.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"

namespace {

using namespace BrovisBench;

void BM_UpdateUnchanged(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  PageDirectory pages;
  const std::string page =
      pages.write("unchanged.html",
                  "<!doctype html><html><body style='font:16px sans-serif'><h1>Unchanged</h1>"
                  "<p>A page that stays as it is while the display is redrawn.</p>"
                  "<a href='#'>a link</a> <input value='a field'></body></html>");
  ModeDisplay display(side, page);
  for (auto _ : state) {
    display.Update();
    benchmark::DoNotOptimize(display.surface().pixels().data());
  }
}
BENCHMARK(BM_UpdateUnchanged)->Arg(512)->Unit(benchmark::kMicrosecond);

}  // namespace
