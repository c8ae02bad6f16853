// The module loaded through dlopen, as the host program loads it: registration, the displays it
// opens, what their redraws show, and what unloading leaves behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/host/loaded_module.h"
#include "tests/host/processes.h"
#include "tests/support/pump.h"

namespace BrovisTest {
namespace {

constexpr Win32::Pixel kUntouched = 0xFF0000FF;

// The extent of the area a redraw painted over a surface filled with kUntouched: the smallest
// box that holds every changed pixel.
struct Painted {
  int width = 0;
  int height = 0;
  bool solid = true;  // every pixel inside the box changed
};

Painted Measure(const Win32::Surface& s) {
  Painted p;
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x)
      if (s.at(x, y) != kUntouched) {
        p.width = std::max(p.width, x + 1);
        p.height = std::max(p.height, y + 1);
      }
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (s.at(x, y) == kUntouched) p.solid = false;
  return p;
}

// A host's redraw into a surface larger than the display, to see the size of what was printed:
// the whole browser window, which is as high as the display and holds the page and its capture
// side by side, 2 w + 20 wide. On the display's own surface only the page shows.
Painted Redraw(MFD& display) {
  Win32::Surface surface(1000, 400, kUntouched);
  Win32::SurfaceDC dc(surface);
  display.Update(dc.get());
  return Measure(surface);
}

class ModuleTest : public ::testing::Test {
 protected:
  std::optional<LoadedModule> module{std::in_place, BROVIS_MODULE};
};

TEST_F(ModuleTest, RegistersTheModeUntilExit) {
  const auto mode = OrbiterHost::FindMode("Brovis");
  ASSERT_TRUE(mode);
  EXPECT_EQ(mode->key, 0x17u);
  EXPECT_NE(mode->msgproc, nullptr);
  EXPECT_EQ(OrbiterHost::RegisteredModes().size(), 1u);
  module->Exit();
  EXPECT_FALSE(OrbiterHost::FindMode("Brovis"));
  EXPECT_TRUE(BrowserChildren().empty()) << "registering alone starts no browser";
}

TEST_F(ModuleTest, OnlyMessageOneOpensADisplay) {
  const auto mode = OrbiterHost::FindMode("Brovis");
  ASSERT_TRUE(mode);
  VESSEL vessel;
  MFDMODESPECEX modeSpec{nullptr, 0, nullptr, nullptr};
  MFDMODEOPENSPEC open{250, 200, &modeSpec};
  const LPARAM ship = reinterpret_cast<LPARAM>(&vessel);
  EXPECT_EQ(mode->msgproc(OAPI_MSG_MFD_OPENEDEX, 0, reinterpret_cast<WPARAM>(&open), ship), 0);
  for (UINT msg : {0u, 2u, 3u, 0xFFFFu})
    EXPECT_EQ(mode->msgproc(msg, 0, 250 | 200 << 16, ship), 0) << msg;
  EXPECT_TRUE(BrowserChildren().empty());
}

TEST_F(ModuleTest, WparamGivesTheDisplaysWidthAndHeight) {
  const auto display = module->Open(250, 200);
  ASSERT_TRUE(display);
  const Painted painted = Redraw(display->mfd());
  EXPECT_EQ(painted.width, 2 * 250 + 20);
  EXPECT_EQ(painted.height, 200);
  EXPECT_TRUE(painted.solid);
}

TEST_F(ModuleTest, DisplaysShareOneBridgeThatOutlivesThem) {
  auto first = module->Open(200, 150);
  auto second = module->Open(120, 100);
  ASSERT_TRUE(first && second);
  const std::vector<int> browsers = BrowserChildren();
  ASSERT_EQ(browsers.size(), 1u);
  first.reset();
  second.reset();
  PumpFor(std::chrono::milliseconds(200));
  EXPECT_TRUE(Alive(browsers[0]));
  auto third = module->Open(100, 100);
  ASSERT_TRUE(third);
  EXPECT_EQ(BrowserChildren(), browsers);
}

TEST_F(ModuleTest, DisplaysOfDifferentSizesAreRedrawnInTurn) {
  auto wide = module->Open(300, 200);
  auto tall = module->Open(160, 240);
  ASSERT_TRUE(wide && tall);
  for (int round = 0; round < 3; ++round) {
    const Painted w = Redraw(wide->mfd());
    EXPECT_EQ(w.width, 2 * 300 + 20);
    EXPECT_EQ(w.height, 200);
    EXPECT_TRUE(w.solid);
    const Painted t = Redraw(tall->mfd());
    EXPECT_EQ(t.width, 2 * 160 + 20);
    EXPECT_EQ(t.height, 240);
    EXPECT_TRUE(t.solid);
  }
}

// The share of the title's pixels that a redraw of a 256 x 256 display still shows.
double TitleShowing(MFD& display) {
  Win32::Surface titled(256, 256, 0xFF000000);
  Win32::SurfaceDC titledDc(titled);
  display.Title(titledDc.get(), "Brovis");
  std::vector<int> titlePixels;
  for (int i = 0; i < 256 * 256; ++i)
    if (titled.pixels()[i] != 0xFF000000) titlePixels.push_back(i);
  EXPECT_GT(titlePixels.size(), 30u) << "the title draws text";
  EXPECT_LT(titlePixels.back() / 256, 40) << "at the top of the display";

  Win32::Surface shown(256, 256, 0xFF000000);
  Win32::SurfaceDC shownDc(shown);
  display.Update(shownDc.get());
  int showing = 0;
  for (int i : titlePixels) showing += shown.pixels()[i] == titled.pixels()[i];
  return static_cast<double>(showing) / static_cast<double>(titlePixels.size());
}

// A browser of the test's own, first on the PATH: its first start fails, its second sleeps a
// while and then runs the real browser.
class FailingThenSlowBrowser {
  static constexpr const char* kBrowser = "chromium-headless-shell";

 public:
  FailingThenSlowBrowser() : path_(::getenv("PATH") ? ::getenv("PATH") : "") {
    std::string real;
    std::stringstream dirs(path_);
    for (std::string d; real.empty() && std::getline(dirs, d, ':');)
      if (!d.empty() && ::access((d + "/" + kBrowser).c_str(), X_OK) == 0)
        real = d + "/" + kBrowser;
    std::string dir = (std::filesystem::temp_directory_path() / "fake-browser-XXXXXX").string();
    EXPECT_NE(::mkdtemp(dir.data()), nullptr);
    dir_ = dir;
    std::ofstream(dir_ / kBrowser) << "#!/bin/sh\n"
                                   << "if [ ! -e '" << (dir_ / "failed").string() << "' ]; then\n"
                                   << "  : > '" << (dir_ / "failed").string() << "'; exit 1\n"
                                   << "fi\n"
                                   << "sleep 2\n"
                                   << ": > '" << (dir_ / "started").string() << "'\n"
                                   << "exec '" << real << "' \"$@\"\n";
    std::filesystem::permissions(dir_ / kBrowser, std::filesystem::perms::owner_all);
    ::setenv("PATH", (dir_.string() + ":" + path_).c_str(), 1);
  }
  ~FailingThenSlowBrowser() {
    ::setenv("PATH", path_.c_str(), 1);
    std::filesystem::remove_all(dir_);
  }
  bool failedOnce() const { return std::filesystem::exists(dir_ / "failed"); }
  bool started() const { return std::filesystem::exists(dir_ / "started"); }

 private:
  std::string path_;
  std::filesystem::path dir_;
};

TEST_F(ModuleTest, TheTitleLiesUnderThePage) {
  auto display = module->Open(256, 256);
  ASSERT_TRUE(display);
  EXPECT_TRUE(
      PumpUntil([&] { return TitleShowing(display->mfd()) < 0.1; }, std::chrono::seconds(20)));
}

TEST_F(ModuleTest, TheFirstDisplayOpensWhileTheBrowserStartsAndAFailedStartIsTriedAgain) {
  const FailingThenSlowBrowser browser;
  auto display = module->Open(256, 256);
  ASSERT_TRUE(display);
  // Back before the browser even runs: the display shows its title and no page.
  EXPECT_FALSE(browser.started());
  EXPECT_EQ(TitleShowing(display->mfd()), 1.0);
  // The failed start is tried again, and the page comes once the browser is up.
  EXPECT_TRUE(
      PumpUntil([&] { return TitleShowing(display->mfd()) < 0.1; }, std::chrono::seconds(30)));
  EXPECT_TRUE(browser.failedOnce());
  EXPECT_TRUE(browser.started());
}

TEST_F(ModuleTest, UnloadingShutsTheBrowserDown) {
  auto display = module->Open(200, 200);
  ASSERT_TRUE(display);
  Redraw(display->mfd());
  const std::vector<int> browsers = BrowserChildren();
  ASSERT_EQ(browsers.size(), 1u);
  const std::vector<int> tree = ProcessTree(browsers[0]);
  const std::optional<std::string> profile = ProfileDirectory(browsers[0]);
  ASSERT_TRUE(profile);
  ASSERT_TRUE(std::filesystem::exists(*profile));

  display.reset();
  module->Exit();
  EXPECT_TRUE(Alive(browsers[0])) << "leaving the mode keeps the browser";
  module->Unload();

  // Processes that have been told to go may take a moment to be reaped.
  const bool gone = PumpUntil(
      [&] {
        for (int pid : tree)
          if (Alive(pid)) return false;
        return true;
      },
      std::chrono::milliseconds(5000));
  EXPECT_TRUE(gone);
  EXPECT_TRUE(BrowserChildren().empty());
  EXPECT_FALSE(std::filesystem::exists(*profile));
}

}  // namespace
}  // namespace BrovisTest
