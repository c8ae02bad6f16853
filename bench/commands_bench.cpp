// From the pilot's button press to the redraw that shows its effect.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"

namespace {

using namespace BrovisBench;

constexpr int kLinks = 10;
constexpr int kRowHeight = 40;

// Whether the red outline shows in link `index`'s row.
bool Outlined(const Win32::Surface& surface, int index) {
  for (int y = index * kRowHeight; y < (index + 1) * kRowHeight && y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x)
      if (surface.at(x, y) == 0xFFFF0000) return true;
  return false;
}

void BM_ButtonToPixels(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  std::string html = "<body style='margin:0'>";
  for (int i = 0; i < kLinks; ++i)
    html += "<div style='height:" + std::to_string(kRowHeight) + "px'><a href='#'>link " +
            std::to_string(i) + "</a></div>";
  PageDirectory pages;
  const std::string page = pages.write("links.html", html + "</body>");
  ModeDisplay display(side, page);
  // After a load the first step examines the second element, the first link; the steps then go
  // through the links in order and wrap.
  int selected = -1, missed = 0;
  for (auto _ : state) {
    display.mode().ConsumeButton(0, 1);  // Nxt
    display.Update();
    selected = (selected + 1) % kLinks;
    if (!Outlined(display.surface(), selected)) ++missed;
  }
  state.counters["first_update_missed"] = missed;
}
BENCHMARK(BM_ButtonToPixels)
    ->Arg(512)
    ->Iterations(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
