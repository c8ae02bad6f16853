// The cockpit window flying the real module on SDL's offscreen video, against pages on a loopback
// server: what the server sees after the pilot's clicks and keys, what the window shows, and what
// closing it leaves behind. Where the module's display does not take commands yet, only what
// needs no commands is checked.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <atomic>
#include <optional>
#include <thread>

#include "cockpit/module_library.h"
#include "cockpit/window/cockpit_window.h"
#include "tests/cockpit_window/window_events.h"
#include "tests/host/processes.h"
#include "tests/support/loopback_server.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"

namespace Cockpit {
namespace {

using BrovisTest::ClickBottom;
using BrovisTest::ClickSide;
using BrovisTest::CountNear;
using BrovisTest::Key;
using BrovisTest::Text;

constexpr Win32::Pixel kStartColour = 0xFFFFCC00;
constexpr Win32::Pixel kNextColour = 0xFF3366CC;
constexpr auto kLimit = std::chrono::milliseconds(20000);

// A loopback server whose one page starts and never ends, and which tells when it was asked.
class EndlessServer {
 public:
  EndlessServer() {
    server_.Get("/slow", [this](const httplib::Request&, httplib::Response& res) {
      asked_ = true;
      res.set_chunked_content_provider("text/html", [this](size_t, httplib::DataSink& sink) {
        static const std::string start = "<html><body><p>loading for ever";
        sink.write(start.data(), start.size());
        while (!stopping_ && sink.is_writable())
          std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return false;
      });
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~EndlessServer() {
    stopping_ = true;
    server_.stop();
    thread_.join();
  }
  std::string url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/slow"; }
  bool asked() const { return asked_; }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::atomic<bool> asked_{false};
  std::atomic<bool> stopping_{false};
};

class ModuleWindowTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::setenv("SDL_VIDEODRIVER", "offscreen", 1); }

  void SetUp() override {
    server.page("/start",
                "<body style='margin:0;background:#ffcc00'>"
                "<a href='/next?from=start' style='display:block;margin:60px;font-size:24px'>"
                "Next page</a></body>");
    server.page("/next", "<body style='margin:0;background:#3366cc'>arrived</body>");
    module.emplace(BROVIS_MODULE);
    module->Init();
    const auto mode = OrbiterHost::FindMode("Brovis");
    ASSERT_TRUE(mode);
    simulator.emplace(*mode, std::chrono::milliseconds(50));
    window.emplace(*simulator, WindowSettings{1, 320, 240});
  }
  void TearDown() override { Close(); }

  // The window, the displays and the module go, in the host program's order.
  void Close() {
    window.reset();
    simulator.reset();
    if (module) module->Exit();
    module.reset();
  }
  bool RunUntil(const std::function<bool()>& done) { return window->RunUntil(done, kLimit); }
  bool ServerSaw(const std::string& line) {
    for (const std::string& request : server.requests())
      if (request.rfind(line, 0) == 0) return true;
    return false;
  }
  // Pixels of the display's part of the window near `colour`.
  int OnScreen(Win32::Pixel colour, int tolerance = 24) {
    return CountNear(window->Screenshot(), window->layout().frames()[0].screen, colour, tolerance);
  }
  void LoadThroughTheAddressBox(const std::string& path) { Load(server.url(path)); }
  void Load(const std::string& address) {
    ClickSide(*window, 0, 5);
    Text(*window, address);
    Key(*window, SDL_SCANCODE_RETURN);
  }

  BrovisTest::LoopbackServer server;
  std::optional<ModuleLibrary> module;
  std::optional<Simulator> simulator;
  std::optional<CockpitWindow> window;
};

TEST_F(ModuleWindowTest, AnAddressThenNxtAndClkFollowALink) {
  // The module's own labels, drawn beside their buttons.
  ASSERT_TRUE(RunUntil([&] { return simulator->Find(1)->lastRedraw() != Clock::time_point{}; }));
  RunUntil([] { return true; });
  const int labelPixels =
      CountNear(window->Screenshot(), window->layout().frames()[0].labels[0], MfdFrame::kLabel);
  EXPECT_GT(labelPixels, 8);

  LoadThroughTheAddressBox("/start");
  ASSERT_TRUE(RunUntil([&] { return ServerSaw("GET /start"); }));
  const int area = 320 * 240;
  ASSERT_TRUE(RunUntil([&] { return OnScreen(kStartColour, 8) > area / 2; }));
  EXPECT_EQ(OnScreen(BrovisTest::kRed, 40), 0);

  ClickSide(*window, 0, 0);  // Nxt: the link is outlined
  EXPECT_TRUE(RunUntil([&] { return OnScreen(BrovisTest::kRed, 40) > 40; }));
  ClickSide(*window, 0, 2);  // Clk
  EXPECT_TRUE(RunUntil([&] { return ServerSaw("GET /next?from=start"); }));
  EXPECT_TRUE(RunUntil([&] { return OnScreen(kNextColour, 8) > area / 2; }));

  // Bck, by its key this time.
  Key(*window, SDL_SCANCODE_B);
  EXPECT_TRUE(RunUntil([&] { return OnScreen(kStartColour, 8) > area / 2; }));
}

TEST_F(ModuleWindowTest, TheWindowAnswersWhileAPageIsLoading) {
  EndlessServer endless;
  Load(endless.url());
  ASSERT_TRUE(RunUntil([&] { return endless.asked(); }));
  // The page never finishes; the menu still opens and closes, and the window still closes.
  ClickBottom(*window, 0, BottomButton::Menu);
  EXPECT_TRUE(RunUntil([&] { return window->menuShown(0) && OnScreen(MfdFrame::kMenuText) > 10; }));
  ClickBottom(*window, 0, BottomButton::Menu);
  EXPECT_TRUE(RunUntil([&] { return !window->menuShown(0); }));
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  EXPECT_TRUE(RunUntil([&] { return window->closed(); }));
}

TEST_F(ModuleWindowTest, ClosingLeavesNoBrowserBehind) {
  ASSERT_TRUE(RunUntil([&] { return !BrovisTest::BrowserChildren().empty(); }));
  std::vector<int> browser;
  for (int child : BrovisTest::BrowserChildren())
    for (int pid : BrovisTest::ProcessTree(child)) browser.push_back(pid);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  window->Run();
  Close();
  EXPECT_FALSE(OrbiterHost::FindMode("Brovis"));
  EXPECT_TRUE(BrovisTest::PumpUntil([&] {
    for (int pid : browser)
      if (BrovisTest::Alive(pid)) return false;
    return true;
  }));
}

}  // namespace
}  // namespace Cockpit
