// The page operations on large local pages, as the pilot's commands run them: one selection
// step, one scroll step, one text entry, each with whatever event processing and capture it
// does itself.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>

#include "bench/bench_support.h"
#include "browser/brovis_form.h"
#include "tests/browser/form_access.h"

namespace {

using namespace std::chrono_literals;
using BrovisBench::PumpUntil;

// One window for every benchmark here: starting a browser costs far more than any operation.
class BenchWindow {
 public:
  static BenchWindow& get() {
    static BenchWindow window;
    return window;
  }

  // Loads a page and waits until it is completely shown.
  bool load(const std::string& name, const std::string& html) {
    const std::string url = pages_.write(name, html);
    if (!form_) {
      form_ = BrovisBench::OpenWindow(url);
      if (!form_) return false;
      access_ = std::make_unique<Brovis::BrovisFormTestAccess>(*form_);
    } else {
      form_->Navigate(Brovis::FromUtf8Bytes(url));
    }
    // The largest pages keep the browser parsing for seconds, and a busy machine longer.
    const bool loaded = PumpUntil(
        [&] {
          const auto href = access_->diagnostics()->evaluate(
              "document.readyState === 'complete' && location.href");
          return href && *href == "\"" + url + "\"" && !access_->browser().IsBusy();
        },
        60s);
    // Let the completion handler run and the last pictures arrive before measuring.
    const auto settled = std::chrono::steady_clock::now() + 200ms;
    PumpUntil([&] { return std::chrono::steady_clock::now() >= settled; });
    return loaded;
  }

  Brovis::BrovisForm& form() { return *form_; }
  Brovis::BrovisFormTestAccess& access() { return *access_; }

 private:
  BrovisBench::PageDirectory pages_;
  std::unique_ptr<Brovis::BrovisForm> form_;
  std::unique_ptr<Brovis::BrovisFormTestAccess> access_;
};

std::string Page(const std::string& body) {
  return "<!DOCTYPE html><html><head><meta charset='utf-8'></head><body>" + body + "</body></html>";
}

// Selection steps on a page whose links stand at every position 99 modulo 100: each step finds
// the next one 100 positions further on, wrapping from the last to the first.
void SelectSteps(benchmark::State& state, const std::string& name, const std::string& body) {
  auto& window = BenchWindow::get();
  if (!window.load(name, Page(body))) {
    state.SkipWithError("page did not load");
    return;
  }
  // A wrong step is counted, not made an error: a repetition cut short ends the whole run.
  int wrong = 0;
  for (auto _ : state)
    if (window.form().selectNext() != u8"A" || window.access().selectedIndex() % 100 != 99) ++wrong;
  state.counters["wrong_steps"] = wrong;
}

// `count` elements in the body: sections of 100, each a division holding 98 paragraphs, the
// last of which ends in a link.
void BM_SelectNext(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::string body;
  for (int section = 0; section + 100 <= count; section += 100) {
    body += "<div>\n";
    for (int i = 1; i < 98; ++i) body += "<p>text " + std::to_string(section + i) + "</p>\n";
    body += "<p>text <a href='#x'>link " + std::to_string(section + 99) + "</a></p>\n</div>\n";
  }
  SelectSteps(state, "select-next.html", body);
}
BENCHMARK(BM_SelectNext)->Arg(5000)->Unit(benchmark::kMillisecond);

// The same number of elements as paragraphs directly in the body, every 99th ending in a link.
// Here the engine lays out thousands of siblings again whenever an outline changes, which
// dominates the step.
void BM_SelectNextFlat(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::string body;
  for (int i = 0; i < count; ++i) {
    if (i % 100 == 98 && i + 1 < count) {
      body += "<p>text " + std::to_string(i) + " <a href='#x'>link</a></p>\n";
      ++i;
    } else {
      body += "<p>text " + std::to_string(i) + "</p>\n";
    }
  }
  SelectSteps(state, "select-next-flat.html", body);
}
BENCHMARK(BM_SelectNextFlat)->Arg(5000)->Unit(benchmark::kMillisecond);

// `count` elements of which none can be selected (text, hidden inputs, buttons): every step
// examines the whole list.
void BM_SelectNextNone(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  std::string body;
  for (int i = 0; i + 4 <= count; i += 4)
    body += "<div><span>row " + std::to_string(i) + "</span><input type='hidden' name='h" +
            std::to_string(i) + "'><button>go</button></div>\n";
  auto& window = BenchWindow::get();
  if (!window.load("select-none.html", Page(body))) {
    state.SkipWithError("page did not load");
    return;
  }
  // A step that does not end in "blank" is counted, not made an error: a repetition cut short
  // has fewer iterations than the others, which ends the whole run in the library's statistics.
  int unexpected = 0;
  for (auto _ : state)
    if (window.form().selectNext() != u8"blank") ++unexpected;
  state.counters["not_blank"] = unexpected;
}
BENCHMARK(BM_SelectNextNone)->Arg(20000)->Arg(100000)->Unit(benchmark::kMillisecond);

// One step to the only visible link of the page, which follows 20,000 links inside a hidden
// element at the bottom of a chain of 3,000 nested elements: each step goes round the whole
// list. The page's script builds the chain (HTML flattens nesting deeper than 512), of elements
// that lay out nothing themselves: 3,000 nested blocks crash the browser's renderer, and 3,000
// nested inline boxes cost it tens of milliseconds of layout at every outline, which measures
// the browser rather than the step. host_peak_mb: this process's peak resident memory from the
// page's load on.
void BM_SelectNextDeep(benchmark::State& state) {
  const std::string body = R"(<script>
let parent = document.body;
for (let i = 0; i < 3000; ++i) {
  parent = parent.appendChild(document.createElement('span'));
  parent.style.display = 'contents';
}
const hidden = parent.appendChild(document.createElement('span'));
hidden.style.display = 'none';
for (let i = 0; i < 20000; ++i) {
  const link = hidden.appendChild(document.createElement('a'));
  link.href = '#h';
  link.textContent = 'hidden ';
}
const visible = document.body.appendChild(document.createElement('a'));
visible.href = '#v';
visible.textContent = 'visible';
</script>)";
  // The script, the chain, the hidden element, its links, then the visible link.
  constexpr int kVisibleLink = 1 + 3000 + 1 + 20000;
  BrovisBench::ResetPeakResident();
  auto& window = BenchWindow::get();
  if (!window.load("select-next-deep.html", Page(body))) {
    state.SkipWithError("page did not load");
    return;
  }
  int wrong = 0;
  for (auto _ : state)
    if (window.form().selectNext() != u8"A" || window.access().selectedIndex() != kVisibleLink)
      ++wrong;
  state.counters["wrong_steps"] = wrong;
  state.counters["host_peak_mb"] = BrovisBench::PeakResidentMegabytes();
}
BENCHMARK(BM_SelectNextDeep)->Unit(benchmark::kMillisecond);

// One step down a long page, with its capture; back to the top, untimed, near the bottom.
void BM_MoveDown(benchmark::State& state) {
  std::string body;
  for (int i = 0; i < 2000; ++i)
    body += "<p style='margin:0;height:60px'>line " + std::to_string(i) + "</p>\n";
  auto& window = BenchWindow::get();
  if (!window.load("move-down.html", Page(body))) {
    state.SkipWithError("page did not load");
    return;
  }
  for (auto _ : state) {
    window.form().moveDown();
    if (window.access().yPos() * 200.0f > static_cast<float>(window.access().yMax() - 1000)) {
      state.PauseTiming();
      window.access().setPos(0.0f, 0.0f);
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_MoveDown)->Unit(benchmark::kMillisecond);

// Replacing a text field's value, with its capture.
void BM_SetKeyboard(benchmark::State& state) {
  std::string body = "<form><input type='text' name='q' value='start'></form>";
  for (int i = 0; i < 500; ++i) body += "<p>paragraph " + std::to_string(i) + "</p>\n";
  auto& window = BenchWindow::get();
  if (!window.load("set-keyboard.html", Page(body)) || window.form().selectNext() != u8"INPUT") {
    state.SkipWithError("no field to type into");
    return;
  }
  int n = 0;
  for (auto _ : state)
    window.form().setKeyboard(Brovis::FromUtf8Bytes("text " + std::to_string(++n)));
}
BENCHMARK(BM_SetKeyboard)->Unit(benchmark::kMillisecond);

}  // namespace
