// The window through engine failures: a killed browser or renderer, repeated crashes, and page
// scripts that never yield. Each time the display keeps a picture, commands return, and the page
// comes back or the next address loads.
#include <signal.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "browser/engine/chromium/process/restart_policy.h"
#include "tests/browser/window_fixture.h"
#include "tests/support/pixels.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

const char* kGreenPage = "<body style='margin:0;background:#00ff00'><a href='#'>link</a></body>";

class ResilienceTest : public WindowTest {
 protected:
  Brovis::Engine::EngineDiagnostics& engine() { return *access().diagnostics(); }

  // Redraws as the host does until the page shows green again.
  bool RedrawUntilGreen(std::chrono::milliseconds limit = 15s) {
    return PumpUntil([&] { return Print(64, 64).at(32, 40) == 0xFF00FF00u; }, limit);
  }

  static std::string ProfileOf(int pid) {
    // The profile directory is on the browser's command line.
    std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline");
    std::string arg;
    while (std::getline(in, arg, '\0'))
      if (arg.rfind("--user-data-dir=", 0) == 0) return arg.substr(16);
    return {};
  }
};

TEST_F(ResilienceTest, AKilledBrowserComesBackOnTheSamePage) {
  server.page("/", kGreenPage);
  Open(server.url("/"));
  ASSERT_TRUE(RedrawUntilGreen());
  const int pid = engine().browserProcessId();
  const std::string profile = ProfileOf(pid);
  ASSERT_FALSE(profile.empty());
  access().setPos(0.0f, 0.5f);

  ::kill(pid, SIGKILL);
  // The display keeps its last picture while the browser comes back.
  EXPECT_EQ(Print(64, 64).at(32, 40), 0xFF00FF00u);
  ASSERT_TRUE(
      PumpUntil([&] { return engine().restartCount() >= 1 && !access().browser().IsBusy(); }));
  ASSERT_TRUE(RedrawUntilGreen());
  EXPECT_NE(engine().browserProcessId(), pid);
  const auto requests = server.requests();
  EXPECT_GE(std::count(requests.begin(), requests.end(), "GET /"), 2);
  // As after any completed load.
  EXPECT_EQ(access().yPos(), 0.0f);
  EXPECT_EQ(access().selectedIndex(), 0);
  // Nothing of the old browser is left.
  EXPECT_FALSE(std::filesystem::exists(profile));
  EXPECT_NE(::kill(pid, 0), 0);
  EXPECT_EQ(Str(form->selectNext()), "A");
}

TEST_F(ResilienceTest, AKilledRendererComesBack) {
  server.page("/", kGreenPage);
  Open(server.url("/"));
  const auto renderers = engine().rendererProcessIds();
  ASSERT_FALSE(renderers.empty());
  for (int pid : renderers) ::kill(pid, SIGKILL);
  ASSERT_TRUE(
      PumpUntil([&] { return engine().restartCount() >= 1 && !access().browser().IsBusy(); }));
  ASSERT_TRUE(RedrawUntilGreen());
  EXPECT_EQ(Eval("document.body.style.background"), "rgb(0, 255, 0)");
}

TEST_F(ResilienceTest, QuickRepeatedCrashesWaitForThePilot) {
  server.page("/", kGreenPage);
  server.page("/next", "<p id='n'>next</p>");
  Open(server.url("/"));
  // A fresh browser's page sometimes crashes once more on its own; every restart counts.
  while (engine().restartCount() < Brovis::Engine::RestartPolicy::kMaxRestarts) {
    const int before = engine().restartCount();
    ::kill(engine().browserProcessId(), SIGKILL);
    ASSERT_TRUE(PumpUntil(
        [&] { return engine().restartCount() > before && !access().browser().IsBusy(); }));
  }
  const auto lastPicture = Print(64, 64);
  ::kill(engine().browserProcessId(), SIGKILL);
  PumpFor(1s);
  // No sixth restart: no document, nothing loading, the last picture on the display.
  EXPECT_EQ(engine().restartCount(), Brovis::Engine::RestartPolicy::kMaxRestarts);
  EXPECT_EQ(access().browser().Document(), nullptr);
  EXPECT_FALSE(access().browser().IsBusy());
  EXPECT_EQ(Str(form->selectNext()), "");
  form->moveDown();
  EXPECT_EQ(Print(64, 64).pixels(), lastPicture.pixels());
  // The pilot loads an address: a browser starts for it.
  form->Navigate(Text(server.url("/next")));
  ASSERT_TRUE(
      PumpUntil([&] { return Eval("document.getElementById('n').textContent") == "next"; }, 20s));
}

TEST_F(ResilienceTest, ScriptsThatNeverYieldAreStopped) {
  server.page("/click", "<a href='#' onclick='while (true) {}'>trap</a>");
  server.page("/timer",
              "<a href='#'>a</a><script>setTimeout(() => { while (true) {} }, 200);"
              "</script>");
  server.page("/load", "<p>x</p><script>while (true) {}</script>");
  server.page("/ok", "<p id='ok'>ok</p>");
  Open(server.url("/click"));
  ASSERT_EQ(Str(form->selectNext()), "A");
  form->clickElement();  // returns: the handler's script is stopped
  EXPECT_TRUE(PumpUntil([&] { return Eval("1 + 1") == "2"; }));

  Load(server.url("/timer"));
  PumpFor(400ms);
  form->selectNext();  // the page hangs under this step; it returns all the same
  form->moveDown();
  Load(server.url("/ok"));
  EXPECT_EQ(Eval("document.getElementById('ok').textContent"), "ok");

  form->Navigate(Text(server.url("/load")));
  PumpFor(500ms);
  form->selectNext();
  form->Navigate(Text(server.url("/ok")));
  EXPECT_TRUE(PumpUntil([&] { return Eval("document.getElementById('ok').textContent") == "ok"; }))
      << "restarts " << engine().restartCount() << " busy " << access().browser().IsBusy()
      << " href " << Eval("location.href").value_or("?") << " requests "
      << ::testing::PrintToString(server.requests());
}

TEST_F(ResilienceTest, PagesLoopingOnNavigationsOrDialogsLetThePilotLeave) {
  // The page being left still runs until the pilot's page commits: its own navigations must not
  // win over the pilot's, nor may a dialog it raises meanwhile hold the pilot's page back.
  server.page("/runaway",
              "<p>run</p><script>setTimeout(() => location.href = "
              "'/runaway?' + Date.now(), 5);</script>");
  server.page("/dialogs",
              "<a href='#'>a</a><script>setInterval(() => Math.random() < .5 ? alert('a') : "
              "confirm('c'), 5); onbeforeunload = e => { e.preventDefault(); return "
              "e.returnValue = 'stay'; };</script>");
  server.page("/ok", "<p id='ok'>ok</p>");
  Open(server.url("/ok"));
  for (const char* looping : {"/runaway", "/dialogs"}) {
    for (int attempt = 0; attempt < 6; ++attempt) {
      form->Navigate(Text(server.url(looping)));
      PumpFor(150ms);
      form->selectNext();
      form->Navigate(Text(server.url("/ok")));
      // Shown, and still shown a little later.
      EXPECT_TRUE(PumpUntil([&] { return Eval("location.pathname") == "/ok"; }, 10s))
          << looping << " attempt " << attempt;
      PumpFor(100ms);
      EXPECT_EQ(Eval("location.pathname"), "/ok") << looping << " attempt " << attempt;
    }
  }
}

TEST_F(ResilienceTest, AHundredThousandElementsAreSteppedThroughAndLeft) {
  // Rows of text with a link now and then, and one field at the very end: stepping backwards
  // from the start wraps to it across the whole list.
  std::string rows;
  for (int i = 0; i < 25000; ++i) {
    rows += "<div><span>" + std::to_string(i) + "</span> <b>row</b>";
    rows += i % 500 == 0 ? " <a href='/ok'>go</a></div>" : " <i>x</i></div>";
  }
  server.page("/many", "<!doctype html><body>" + rows + "<input id='last'></body>");
  server.page("/ok", "<p id='ok'>ok</p>");
  Open(server.url("/ok"));
  // A slow machine may take a while to lay out so many; the steps start once it has, and once
  // the window has handled the page's completion, which resets the selection.
  form->Navigate(Text(server.url("/many")));
  ASSERT_TRUE(PumpUntil(
      [&] {
        return form->Progress() == Brovis::PageProgress::Loaded &&
               EvalInt("document.getElementsByTagName('*').length") >= 100000;
      },
      60s));

  EXPECT_EQ(Str(form->selectNext()), "A");
  EXPECT_EQ(Str(form->selectNext()), "A");
  EXPECT_EQ(Str(form->selectPrevious()), "A");
  EXPECT_EQ(Str(form->selectPrevious()), "INPUT");  // wrapped around to the end
  form->setKeyboard(u8"typed");
  EXPECT_EQ(Eval("document.getElementById('last').value"), "typed");
  form->moveUp();
  form->moveDown();
  EXPECT_EQ(Str(form->selectNext()), "A");
  form->clickElement();
  EXPECT_TRUE(PumpUntil([&] { return Eval("location.pathname") == "/ok"; }, 10s));
  EXPECT_EQ(engine().restartCount(), 0);
}

}  // namespace
}  // namespace BrovisTest
