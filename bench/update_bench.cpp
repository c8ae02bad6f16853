// A display's whole redraw on a page that does not change: the title, then the window sized to
// the display and printed into its surface.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "host/brovis.h"
#include "host/browser_root.h"
#include "platform/forms/application.h"

namespace {

// The browser starts on its home page; nothing may leave this machine.
void StayOnThisMachine() {
  setenv("all_proxy", "http://127.0.0.1:9", 1);
  for (const char* name : {"http_proxy", "https_proxy", "no_proxy"}) unsetenv(name);
}

std::filesystem::path WritePage() {
  const auto path = std::filesystem::temp_directory_path() / "brovis-update-bench.html";
  std::ofstream(path)
      << "<!doctype html><html><body style='font:16px sans-serif'><h1>Unchanged</h1>"
         "<p>A page that stays as it is while the display is redrawn.</p>"
         "<a href='#'>a link</a> <input value='a field'></body></html>";
  return path;
}

void BM_UpdateUnchanged(benchmark::State& state) {
  StayOnThisMachine();
  const int side = static_cast<int>(state.range(0));
  const std::filesystem::path page = WritePage();
  VESSEL vessel;
  {
    Brovis::Brovis display(side, side, &vessel);
    Brovis::EnsureBrowser().Navigate(("file://" + page.string()).c_str());
    Win32::Surface surface(side, side);
    Win32::SurfaceDC dc(surface);
    // Until the page has loaded and been painted at this size.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    while (std::chrono::steady_clock::now() < until) {
      display.Update(dc.get());
      Forms::Application::WaitForMessages(std::chrono::milliseconds(20));
      Forms::Application::DoEvents();
    }
    for (auto _ : state) {
      display.Update(dc.get());
      benchmark::DoNotOptimize(surface.pixels().data());
    }
  }
  Brovis::ReleaseBrowser();
  std::filesystem::remove(page);
}
BENCHMARK(BM_UpdateUnchanged)->Arg(512)->Unit(benchmark::kMillisecond);

}  // namespace
