// The window's redraw path: printing an unchanged page (beside a plain copy of as many pixels),
// the delay from a change of the page to a print that shows it (on one display, and on two of
// different sizes), the window's start and the first display's opening.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "bench/bench_support.h"
#include "host/brovis.h"
#include "host/browser_root.h"
#include "platform/forms/application.h"
#include "platform/win32/win32.h"
#include "tests/browser/form_access.h"
#include "tests/support/busy_loops.h"

namespace {

using namespace BrovisBench;

const char* kPage =
    "<!DOCTYPE html><html><body style='margin:0'><h1>Brovis</h1><p>A page that does not "
    "change.</p><a href='#'>link</a> <input value='field'></body></html>";

// The change the change benchmarks make: a wide border of `colour` around the page's body.
void SetBodyBorder(Brovis::BrovisFormTestAccess& access, Brovis::BrowserTextView colour) {
  using Brovis::Engine::BorderProperty;
  const std::pair<BorderProperty, Brovis::BrowserTextView> border[] = {
      {BorderProperty::Color, colour},
      {BorderProperty::Width, u8"20px"},
      {BorderProperty::Style, u8"solid"}};
  if (auto document = access.browser().Document())
    if (auto body = document->body()) body->setStyles(border);
}

void BM_PrintWindowUnchanged(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  PageDirectory pages;
  auto form = OpenWindow(pages.write("page.html", kPage));
  if (!form) return state.SkipWithError("no browser");
  form->SetSize(side, side);
  Win32::Surface surface(side, side);
  Win32::SurfaceDC dc(surface);
  PrintWindow(form->GetHandle(), dc.get(), 0);  // the first print after a resize waits for it
  for (auto _ : state) {
    form->SetSize(side, side);
    PrintWindow(form->GetHandle(), dc.get(), 0);
    benchmark::DoNotOptimize(surface.pixels().data());
  }
}
BENCHMARK(BM_PrintWindowUnchanged)->Arg(256)->Arg(512)->Arg(1024)->Unit(benchmark::kMicrosecond);

void BM_Memcpy(benchmark::State& state) {
  const std::size_t pixels = static_cast<std::size_t>(state.range(0)) * state.range(0);
  std::vector<std::uint32_t> from(pixels, 0xFF336699), to(pixels);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), pixels * sizeof(std::uint32_t));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_Memcpy)->Arg(512)->Unit(benchmark::kMicrosecond);

void BM_ChangeToPixels(benchmark::State& state) {
  const int side = static_cast<int>(state.range(0));
  PageDirectory pages;
  auto form = OpenWindow(
      pages.write("page.html", "<body style='margin:0'><div style='height:2000px'></div></body>"));
  if (!form) return state.SkipWithError("no browser");
  Brovis::BrovisFormTestAccess access(*form);
  form->SetSize(side, side);
  Win32::Surface surface(side, side);
  Win32::SurfaceDC dc(surface);
  PrintWindow(form->GetHandle(), dc.get(), 0);
  const Win32::Pixel colours[] = {0xFFFF0000, 0xFF0000FF};
  const Brovis::BrowserTextView names[] = {u8"red", u8"blue"};
  int turn = 0, missed = 0;
  for (auto _ : state) {
    turn ^= 1;
    SetBodyBorder(access, names[turn]);
    // Redraw as a display does, a frame apart, until the print shows the change; between
    // redraws the host processes its messages.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (int tries = 0;; ++tries) {
      if (tries > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(16));
        Forms::Application::DoEvents();
      }
      form->SetSize(side, side);
      PrintWindow(form->GetHandle(), dc.get(), 0);
      if (surface.at(5, side / 2) == colours[turn]) break;
      if (tries == 0) ++missed;
      if (std::chrono::steady_clock::now() > giveUp)
        return state.SkipWithError("the change never showed");
    }
  }
  state.counters["first_print_missed"] = missed;
}
BENCHMARK(BM_ChangeToPixels)
    ->Arg(512)
    ->Iterations(1000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// A change, then one redraw of each of two displays of different sizes, on a page green below
// 300 pixels of width and blue above; with range(0) busy loops taking the machine's cores. The
// first print after a change should show it; one that shows the display's own picture before it
// (its frame took longer than the redraw may wait) is stale, and one that shows the other
// display's colour is a wrong-size print.
void BM_TwoSizesChangeToPixels(benchmark::State& state) {
  PageDirectory pages;
  auto form = OpenWindow(pages.write(
      "page.html",
      "<style>body{margin:0;background:#0f0}@media (min-width:300px){body{background:#00f}}"
      "</style><body><div style='height:2000px'></div></body>"));
  if (!form) return state.SkipWithError("no browser");
  Brovis::BrovisFormTestAccess access(*form);
  struct Display {
    int side;
    Win32::Pixel own, other;
    Win32::Surface surface;
    int missed = 0;
  } displays[] = {{256, 0xFF00FF00, 0xFF0000FF, Win32::Surface(256, 256)},
                  {512, 0xFF0000FF, 0xFF00FF00, Win32::Surface(512, 512)}};
  const auto print = [&](Display& d) {
    Win32::SurfaceDC dc(d.surface);
    form->SetSize(d.side, d.side);
    PrintWindow(form->GetHandle(), dc.get(), 0);
  };
  for (Display& d : displays) print(d);
  const BrovisTest::BusyLoops busy(static_cast<int>(state.range(0)));
  const Win32::Pixel colours[] = {0xFFFF0000, 0xFF000000};
  const Brovis::BrowserTextView names[] = {u8"red", u8"black"};
  int turn = 0, wrongSize = 0, stale = 0;
  for (auto _ : state) {
    turn ^= 1;
    SetBodyBorder(access, names[turn]);
    for (Display& d : displays) {
      print(d);
      const Win32::Pixel edge = d.surface.at(5, d.side / 2);
      const Win32::Pixel inside = d.surface.at(d.side / 2, d.side / 2);
      if (inside == d.other) ++wrongSize;
      if (edge != colours[turn]) {
        ++d.missed;
        if (edge == colours[turn ^ 1] && inside == d.own) ++stale;
      }
    }
    // The host processes its messages between frames.
    Forms::Application::DoEvents();
  }
  state.counters["first_print_missed_256"] = displays[0].missed;
  state.counters["first_print_missed_512"] = displays[1].missed;
  state.counters["wrong_size_prints"] = wrongSize;
  state.counters["stale_prints"] = stale;
}
BENCHMARK(BM_TwoSizesChangeToPixels)
    ->Arg(0)
    ->Arg(2)
    ->ArgName("busy_loops")
    ->Iterations(500)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_StartToFirstFrame(benchmark::State& state) {
  PageDirectory pages;
  const std::string address = pages.write("page.html", kPage);
  double pss = 0;
  for (auto _ : state) {
    auto form = std::make_unique<Brovis::BrovisForm>(Brovis::FromUtf8Bytes(address));
    Brovis::BrovisFormTestAccess access(*form);
    if (!access.browser().engine()) return state.SkipWithError("no browser");
    form->Show();
    // Redrawn as a display is, until the print shows a picture of the page.
    Win32::Surface surface(256, 256);
    Win32::SurfaceDC dc(surface);
    PumpUntil([&] {
      form->SetSize(256, 256);
      PrintWindow(form->GetHandle(), dc.get(), 0);
      return access.browser().engine()->picture({}) != nullptr;
    });
    state.PauseTiming();
    PumpUntil([&] { return !access.browser().IsBusy() && access.bm(); });
    pss = TreePssMegabytes(access.diagnostics()->browserProcessId());
    form.reset();
    state.ResumeTiming();
  }
  state.counters["pss_mb"] = pss;
}
BENCHMARK(BM_StartToFirstFrame)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The simulator's thread is held while the first display of the mode is constructed: the browser
// starts in the background meanwhile. Each round starts with no browser running.
void BM_FirstDisplayOpen(benchmark::State& state) {
  VESSEL vessel;
  for (auto _ : state) {
    auto display = std::make_unique<Brovis::Brovis>(256, 256, &vessel);
    state.PauseTiming();
    display.reset();
    Brovis::ReleaseBrowser();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_FirstDisplayOpen)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

}  // namespace
