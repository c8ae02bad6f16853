// The pilot's commands at random, on hostile local pages: pages that open windows, raise dialogs
// and navigate themselves in loops, mutate or scroll while they are stepped through, hold 20,000
// elements, or are not HTML at all. After every step the display must still redraw, and every
// 50 steps an ordinary page must still load and show.
//
// CI runs fixed seeds. For a longer run, or to replay one seed:
//   BROVIS_RANDOM_STEPS=20000 BROVIS_RANDOM_SEED=7 brovis-random-commands-tests
// A failure names its seed and step.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "host/browser_root.h"
#include "host/command_table.h"
#include "platform/orbiter/orbiter_host.h"
#include "platform/win32/code_page.h"
#include "tests/resilience/flight.h"
#include "tests/support/loopback_server.h"
#include "tests/support/pump.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// A hang detector, not a speed target: no step comes near this unless something is stuck.
constexpr auto kStepLimit = 5s;
// A step still running this long will not return; the process stops with its seed and step.
constexpr auto kHangLimit = 60s;

#ifdef BROVIS_SANITIZED_BUILD
constexpr int kDefaultSteps = 100;
#else
constexpr int kDefaultSteps = 300;
#endif
constexpr std::uint32_t kSeeds[] = {1, 2, 3};
constexpr int kCheckEvery = 50;

int EnvInt(const char* name, int fallback) {
  const char* value = std::getenv(name);
  return value && *value ? std::atoi(value) : fallback;
}

// The ordinary page: links, a form and a text area. Its background and heading follow the
// check number in its address, so that a check never looks like the page before it.
constexpr char kOrdinaryPage[] = R"(<!doctype html><html><body>
<h1 id=n style='font-size:48px'></h1>
<p><a href='/ordinary?check=-1'>again</a> <a href='/text'>text</a> <a href='/mutating'>mutating</a></p>
<form action='/ordinary'><input name=q><select name=s><option>a<option>b</select>
<textarea name=t rows=3></textarea><input type=submit></form>
<script>
const check = +new URLSearchParams(location.search).get('check') || 0;
document.body.style.background = `hsl(${check * 137 % 360}, 70%, 45%)`;
document.getElementById('n').textContent = 'check ' + check;
</script></body></html>)";

void ServeHostilePages(LoopbackServer& server) {
  const auto script = [](const std::string& body, const std::string& code) {
    return "<!doctype html><html><body>" + body + "<script>" + code + "</script></body></html>";
  };
  server.page("/ordinary", kOrdinaryPage);
  server.page("/popups", script("<a href='/popups'>again</a>",
                                "setInterval(() => window.open('/popups?' + Math.random()), 5);"));
  server.page(
      "/dialogs",
      script("<a href='/ordinary'>away</a><input>",
             "setInterval(() => Math.random() < .5 ? alert('a') : confirm('c'), 5);"
             "onbeforeunload = e => { e.preventDefault(); return e.returnValue = 'stay'; };"));
  server.page("/runaway", script("<a href='/runaway'>run</a>",
                                 "setTimeout(() => location.href = '/runaway?' + Date.now(), 5);"));
  server.page(
      "/mutating",
      script("<a href='#'>first</a><input>",
             "setInterval(() => { const b = document.body;"
             " for (let i = 0; i < 20; ++i) {"
             "  if (Math.random() < .5 && b.children.length > 2)"
             "   b.children[Math.floor(Math.random() * b.children.length)].remove();"
             "  else { const e = document.createElement(Math.random() < .5 ? 'a' : 'input');"
             "   if (e.tagName == 'A') { e.href = '#' + i; e.textContent = 'link ' + i; }"
             "   b.insertBefore(e, b.firstChild); } } }, 2);"));
  std::string many;
  for (int i = 0; i < 20000; ++i)
    many +=
        i % 10 ? "<a href='#" + std::to_string(i) + "'>" + std::to_string(i) + "</a> " : "<input>";
  server.page("/many", "<!doctype html><html><body>" + many + "</body></html>");
  server.page("/scrollfight",
              script("<div style='height:20000px;width:20000px'><a href='#'>x</a></div>",
                     "onscroll = () => { const s = document.scrollingElement;"
                     " s.scrollTop = (s.scrollTop * 7919 + 13) % 15000; s.scrollLeft = 0; };"));
  server.page("/text", std::string(5000, 'w') + "\nplain text, not a page\n", "text/plain");
  // A 1 x 1 GIF.
  server.page("/image",
              std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff\xff\xff!\xf9\x04\x01"
                          "\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02D\x01\x00;",
                          43),
              "image/gif");
  server.page("/download", "not for the display", "application/octet-stream",
              {{"Content-Disposition", "attachment; filename=\"file.bin\""}});
  server.endlessPage("/endless");
}

const std::vector<std::string> kPaths = {"/ordinary", "/popups",   "/dialogs",     "/runaway",
                                         "/mutating", "/many",     "/scrollfight", "/text",
                                         "/image",    "/download", "/endless"};

// Reports a step that has not returned, from a thread of its own since the stuck step holds the
// test's thread.
class HangWatch {
 public:
  HangWatch()
      : thread_([this] {
          std::unique_lock lock(mutex_);
          while (!stop_) {
            wake_.wait_for(lock, 1s);
            if (running_ && Clock::now() - started_ > kHangLimit) {
              std::fprintf(stderr, "hung: %s has not returned after %lld s\n", what_.c_str(),
                           static_cast<long long>(kHangLimit / 1s));
              std::_Exit(EXIT_FAILURE);
            }
          }
        }) {}
  ~HangWatch() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }
  // Times `step`, named by `what` should it hang.
  template <typename Step>
  Clock::duration run(const std::string& what, Step&& step) {
    {
      std::lock_guard lock(mutex_);
      what_ = what;
      started_ = Clock::now();
      running_ = true;
    }
    step();
    std::lock_guard lock(mutex_);
    running_ = false;
    return Clock::now() - started_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::string what_;
  Clock::time_point started_;
  bool running_ = false;
  bool stop_ = false;
  std::thread thread_;
};

class RandomCommandsTest : public FlightTest {
 protected:
  void SetUp() override { ServeHostilePages(server); }

  // What the pilot might type into a box.
  std::string RandomText() {
    switch (pick(6)) {
      case 0:
        return "";
      case 1:
        return std::string(200 + pick(2000), static_cast<char>('a' + pick(26)));
      case 2: {
        std::string control;
        for (int i = 0; i < 20; ++i) control += static_cast<char>(1 + pick(31));
        return control;
      }
      case 3:
        // Not characters of code page 1252; above U+10FFFF in UTF-8.
        return "\x81\x8D\x8F\x90\x9D \xF4\x90\x80\x80 \xF8\x88\x80\x80\x80";
      case 4: {
        std::string bytes;
        for (int i = 0; i < 40; ++i) bytes += static_cast<char>(1 + pick(255));
        return bytes;
      }
      default:
        return server.url(kPaths[pick(kPaths.size())]);
    }
  }
  DWORD RandomKey() {
    if (pick(4)) return Brovis::kCommands[pick(Brovis::kCommands.size())].key;
    return pick(2) ? pick(256) : static_cast<DWORD>(rng_());
  }
  std::size_t pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }

  // Any open display; opens one in an empty slot when all are closed.
  FlownDisplay& AnyDisplay() {
    std::vector<FlownDisplay*> open;
    for (auto& d : displays)
      if (d) open.push_back(d.get());
    if (open.empty()) return *(displays[0] = std::make_unique<FlownDisplay>(256, 256));
    return *open[pick(open.size())];
  }

  // Runs one random command on `display`; says what it did.
  std::string Step(FlownDisplay& display) {
    const std::size_t kind = pick(100);
    if (kind < 25) {
      const int button = static_cast<int>(pick(16)) - 2, event = static_cast<int>(pick(4));
      display.mode().ConsumeButton(button, event);
      return "button " + std::to_string(button) + " " + std::to_string(event);
    }
    if (kind < 45) {
      const DWORD key = RandomKey();
      display.mode().ConsumeKeyBuffered(key);
      return "key " + std::to_string(key);
    }
    if (kind < 57) {
      if (!OrbiterHost::OpenInputBox()) {
        const DWORD key = Brovis::kCommands[3 + pick(3)].key;  // I, A or U
        display.mode().ConsumeKeyBuffered(key);
        return "key " + std::to_string(key);
      }
      if (pick(8) == 0) {
        OrbiterHost::CancelInputBox();
        return "cancel";
      }
      const std::string title = OrbiterHost::OpenInputBox()->title, text = RandomText();
      OrbiterHost::ConfirmInputBox(text);
      return "confirm '" + title + "' with '" + text.substr(0, 60) + "'";
    }
    if (kind < 69) {
      const std::string path = kPaths[pick(kPaths.size())];
      display.Load(server.url(path));
      return "url " + path;
    }
    if (kind < 81) {
      display.Redraw();
      return "redraw";
    }
    if (kind < 95) {
      const auto time = std::chrono::milliseconds(1 + pick(10));
      PumpFor(time);
      return "wait " + std::to_string(time.count());
    }
    if (kind < 98) {
      // Closing a display perhaps with its input box still open, and perhaps another in its place.
      constexpr std::pair<int, int> kSizes[] = {
          {1, 1}, {64, 48}, {256, 256}, {400, 300}, {17, 900}};
      const auto [w, h] = kSizes[pick(std::size(kSizes))];
      const std::size_t slot = pick(displays.size());
      displays[slot].reset();
      if (!pick(2)) return "close " + std::to_string(slot + 1);
      displays[slot] = std::make_unique<FlownDisplay>(w, h);
      return "open " + std::to_string(slot + 1) + " " + std::to_string(w) + "x" + std::to_string(h);
    }
    constexpr UINT kCodePages[] = {1252, 1251, 932, 65001};
    const UINT codePage = kCodePages[pick(std::size(kCodePages))];
    Win32::SetAnsiCodePage(codePage);
    return "code page " + std::to_string(codePage);
  }

  // The ordinary page still loads and shows: its request reaches the server and a later redraw
  // differs from the one before the load.
  void ExpectOrdinaryPageShows(int check, const std::string& where) {
    FlownDisplay& display = AnyDisplay();
    display.Redraw();
    const Win32::Surface before = display.surface();
    const std::string path = "/ordinary?check=" + std::to_string(check);
    display.Load(server.url(path));
    bool requested = false;
    const bool shown = PumpUntil(
        [&] {
          requested = requested || server.waitForRequest("GET " + path, 0ms);
          return requested && display.Redraw() && display.surface().pixels() != before.pixels();
        },
        20s);
    EXPECT_TRUE(requested) << where << "\nthe ordinary page was not requested";
    EXPECT_TRUE(shown) << where << "\nthe ordinary page did not show";
  }

  void Fly(std::uint32_t seed, int steps) {
    rng_.seed(seed);
    displays[0] = std::make_unique<FlownDisplay>(256, 256);
    if (pick(2)) displays[1] = std::make_unique<FlownDisplay>(320, 200);
    HangWatch watch;
    // The last few steps, to replay a failure by hand.
    std::deque<std::string> recent;
    const auto where = [&](int step) {
      std::string text =
          "seed " + std::to_string(seed) + " step " + std::to_string(step) + ", after:";
      for (const std::string& s : recent) text += "\n  " + s;
      return text;
    };
    int step = 1;
    for (; step <= steps && !HasFailure(); ++step) {
      // Until its first picture, a display too narrow for its title shows nothing, as before
      // the module draws at all; after that every redraw writes it.
      bool redrawn = false, writtenBefore = false;
      const auto took = watch.run(where(step), [&] {
        recent.push_back(Step(AnyDisplay()));
        if (recent.size() > 12) recent.pop_front();
        FlownDisplay& shown = AnyDisplay();
        writtenBefore = shown.EverWritten();
        redrawn = shown.Redraw();
      });
      EXPECT_LT(took, kStepLimit)
          << where(step) << "\ntook "
          << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
      EXPECT_TRUE(redrawn || !writtenBefore)
          << where(step) << "\nthe redraw did not write the display";
      if (step % kCheckEvery == 0)
        watch.run(where(step) + "\n(check)",
                  [&] { ExpectOrdinaryPageShows(step / kCheckEvery, where(step)); });
    }
    std::cout << "seed " << seed << ": " << step - 1 << " steps, " << server.requests().size()
              << " requests to the server so far\n";
    OrbiterHost::CancelInputBox();
    for (auto& d : displays) d.reset();
    Brovis::ReleaseBrowser();
  }

  LoopbackServer server;
  std::mt19937 rng_;
  std::array<std::unique_ptr<FlownDisplay>, 2> displays;
};

TEST_F(RandomCommandsTest, TheDisplayOutlivesHostilePagesAndRandomCommands) {
  const int steps = EnvInt("BROVIS_RANDOM_STEPS", kDefaultSteps);
  if (const char* seed = std::getenv("BROVIS_RANDOM_SEED"); seed && *seed) {
    Fly(static_cast<std::uint32_t>(std::strtoul(seed, nullptr, 10)), steps);
    return;
  }
  for (std::uint32_t seed : kSeeds) {
    Win32::SetAnsiCodePage(Win32::kDefaultAnsiCodePage);
    Fly(seed, steps);
  }
}

}  // namespace
}  // namespace BrovisTest
