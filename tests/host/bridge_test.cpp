// The bridge and the display class against the real browser: addresses typed in the host's code
// page, the history walk, a bridge that has gone, and a display whose bridge is missing.
#include <gtest/gtest.h>

#include <algorithm>

#include "bridge/browser_interface.h"
#include "browser/engine/browser_text.h"
#include "host/brovis.h"
#include "host/browser_root.h"
#include "platform/orbiter/display_record.h"
#include "platform/orbiter/orbiter_host.h"
#include "platform/win32/code_page.h"
#include "tests/support/loopback_server.h"
#include "tests/support/pump.h"

namespace Brovis {
namespace {

using BrovisTest::LoopbackServer;
using BrovisTest::PumpUntil;

std::string S(BrowserTextView text) { return std::string(AsUtf8Bytes(text)); }

std::string ColourPage(const std::string& colour) {
  return "<!doctype html><html><body style='margin:0;background:" + colour +
         "'>&nbsp;</body></html>";
}

// The colour at the middle of what the bridge prints for a 120 x 90 display.
Win32::Pixel Centre(BrowserInterface& bridge) {
  Win32::Surface surface(120, 90);
  Win32::SurfaceDC dc(surface);
  bridge.RenderToDC(dc.get(), 120, 90);
  return surface.at(60, 45);
}

bool Shows(BrowserInterface& bridge, Win32::Pixel colour) {
  return PumpUntil([&] { return Centre(bridge) == colour; });
}

class BridgeTest : public ::testing::Test {
 protected:
  void TearDown() override {
    Win32::SetAnsiCodePage(Win32::kDefaultAnsiCodePage);
    ReleaseBrowser();
  }
  bool Requested(const std::string& line) const {
    const auto lines = server.requests();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
  std::string Requests() const {
    std::string all;
    for (const std::string& line : server.requests()) all += line + "\n";
    return all;
  }
  LoopbackServer server;
};

// The server records the request's path decoded, so it shows the characters the browser asked for.
TEST_F(BridgeTest, AnAddressTypedInTheHostsCodePageReachesThePageUnchanged) {
  BrowserInterface bridge;
  bridge.Navigate((server.url("/caf") + "\xE9").c_str());
  EXPECT_TRUE(PumpUntil([&] { return Requested("GET " + S(u8"/café")); })) << Requests();
  Win32::SetAnsiCodePage(1251);
  bridge.Navigate((server.url("/") + "\xE6\xF3\xEA").c_str());
  EXPECT_TRUE(PumpUntil([&] { return Requested("GET " + S(u8"/жук")); })) << Requests();
}

TEST_F(BridgeTest, WalksTheHistory) {
  server.page("/red", ColourPage("#ff0000"));
  server.page("/green", ColourPage("#00ff00"));
  BrowserInterface bridge;
  bridge.Navigate(server.url("/red").c_str());
  ASSERT_TRUE(Shows(bridge, 0xFFFF0000));
  bridge.Navigate(server.url("/green").c_str());
  ASSERT_TRUE(Shows(bridge, 0xFF00FF00));
  bridge.NavigateBack();
  EXPECT_TRUE(Shows(bridge, 0xFFFF0000));
  bridge.NavigateForward();
  EXPECT_TRUE(Shows(bridge, 0xFF00FF00));
}

TEST_F(BridgeTest, ADisposedBridgeDrawsNothing) {
  server.page("/red", ColourPage("#ff0000"));
  BrowserInterface bridge;
  bridge.Navigate(server.url("/red").c_str());
  ASSERT_TRUE(Shows(bridge, 0xFFFF0000));
  bridge.Dispose();
  // Nothing brings the window back.
  bridge.Navigate(server.url("/red").c_str());
  bridge.NavigateBack();
  bridge.NavigateForward();
  EXPECT_EQ(bridge.Progress(), PageProgress::NoPage);
  Win32::Surface surface(120, 90, 0xFF0000FF);
  Win32::SurfaceDC dc(surface);
  EXPECT_FALSE(bridge.RenderToDC(dc.get(), 120, 90));
  for (Win32::Pixel p : surface.pixels()) ASSERT_EQ(p, 0xFF0000FF);
}

TEST_F(BridgeTest, UpdateCreatesTheBridgeWhenItIsMissing) {
  VESSEL vessel;
  Brovis display(180, 120, &vessel);
  OrbiterHost::DisplayRecord record(display);
  ASSERT_TRUE(_browser) << "the first display creates the bridge";
  ReleaseBrowser();
  ASSERT_FALSE(_browser);
  const auto untouched = [&] {
    Win32::Surface surface(180, 120, 0xFF0000FF);
    Win32::SurfaceDC dc(surface);
    display.Update(dc.get());
    return std::count(surface.pixels().begin(), surface.pixels().end(), 0xFF0000FF);
  };
  untouched();
  EXPECT_TRUE(_browser);
  // Once its browser is up, the new window is printed over the whole display.
  EXPECT_TRUE(PumpUntil([&] { return untouched() == 0; }));
}

}  // namespace
}  // namespace Brovis
