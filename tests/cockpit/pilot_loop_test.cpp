// The pilot's whole loop, flown with brovis-cockpit scripts against pages on a loopback server
// that records what the browser asked for: addresses, links, a search form, the selection's
// wrap, scrolling, the history, stray presses, two displays and a reopened one.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "tests/support/loopback_server.h"
#include "tests/support/pixels.h"

namespace BrovisTest {
namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

// Pages report their scroll offset and every showing (also from the history) to the server; a
// step through the history may take the page itself from the cache, never its reports.
// At the end of their load they draw a small mark in the corner of the view, so that a display
// settles only after the load has ended: the end of a load resets the scroll and the selection.
const std::string kBeacons =
    "<script>addEventListener('scroll', () => fetch('/scrolled?x=' + Math.round(scrollX) + '&y=' "
    "+ Math.round(scrollY)));"
    "addEventListener('pageshow', () => fetch('/shown?p=' + location.pathname.slice(1), "
    "{cache: 'no-store'}));"
    "addEventListener('load', () => document.body.insertAdjacentHTML('beforeend', \"<div "
    "style='position:fixed;left:0;top:0;width:4px;height:4px;background:#000'></div>\"));"
    "</script>";

class PilotLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir);
    server.page("/start",
                "<body style='background:#ffeeaa'><p>start</p><a href='/second'>second"
                "</a><p>text</p><a href='/third'>third</a>" +
                    kBeacons + "</body>");
    server.page("/second", "<body><p>second</p>" + kBeacons + "</body>");
    server.page("/form",
                "<body style='background:#ffeeaa'><form action='/search'>"
                "<input name='q' value='old'><input type='submit' value='Go'></form>"
                "<p>text</p><a href='/wrapped'>last</a>" +
                    kBeacons + "</body>");
    server.page("/search", "<p>results</p>");
    server.page("/wrapped", "<p>wrapped</p>" + kBeacons);
    server.page("/long", "<body style='margin:0'><div style='height:4000px;width:3000px'></div>" +
                             kBeacons + "</body>");
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  // Flies `script` from the moment the first display has opened, while its browser starts.
  int Fly(const std::string& script) {
    std::string text = std::regex_replace(script, std::regex("@"), server.url(""));
    std::ofstream(dir / "script") << text;
    const std::string command = std::string(BROVIS_COCKPIT) + " --offline --module " +
                                BROVIS_MODULE + " --refresh 50 --out " + dir.string() + " " +
                                (dir / "script").string() + " > " + (dir / "out").string() +
                                " 2> " + (dir / "err").string();
    const int raw = std::system(command.c_str());
    std::ifstream out(dir / "out"), err(dir / "err");
    output.assign(std::istreambuf_iterator<char>(out), {});
    errors.assign(std::istreambuf_iterator<char>(err), {});
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }

  LoopbackServer server;
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("pilot-loop-" + std::to_string(::getpid()));
  std::string output, errors;
};

TEST_F(PilotLoop, LinksFormsWrapHistoryAndStrayPresses) {
  ASSERT_EQ(Fly("button 5\n"
                "type @/start\n"
                "settle 20000\n"
                "button 0\n"  // Nxt: the first link
                "button 2\n"  // Clk: followed
                "settle 5000\n"
                "url @/form\n"
                "settle 5000\n"
                "button 0\n"  // the search field
                "button 3\n"  // Inpt replaces its text...
                "type brovis\n"
                "button 4\n"  // ...App adds to it
                "type  rocks\n"
                "button 0\n"  // the submit button
                "button 2\n"
                "settle 5000\n"
                "button 10\n"  // Bck: the form again
                "settle 5000\n"
                "button 1\n"  // Prv right after a load wraps to the last element
                "key c\n"
                "settle 5000\n"
                "key b\n"
                "settle 5000\n"
                "button 11\n"  // Fwd
                "settle 5000\n"
                "button 0 0\n"  // not a left press
                "button 12\n"
                "key 99\n"
                "key i\n"  // the mode's selection key is also "Set browser text"
                "cancel\n"),
            0)
      << errors;
  const auto requests = server.requests();
  EXPECT_THAT(requests, Contains("GET /second"));
  EXPECT_THAT(requests, Contains("GET /search?q=brovis rocks"));
  EXPECT_THAT(requests, Contains("GET /wrapped"));
  // Back to the form after the search, back again from the wrapped page, forward to it.
  EXPECT_GE(std::count(requests.begin(), requests.end(), "GET /shown?p=form"), 3);
  EXPECT_GE(std::count(requests.begin(), requests.end(), "GET /shown?p=wrapped"), 2);
  EXPECT_THAT(output, HasSubstr("inputbox \"Input URL\" len=60\nbutton 5 event 1 -> true\n"));
  EXPECT_THAT(output, HasSubstr("button 0 event 0 -> false\nbutton 12 event 1 -> false\n"
                                "key 99 -> false\ninputbox \"Set browser text\" len=60\n"
                                "key 23 -> true\n"));
}

TEST_F(PilotLoop, CommandsRightAfterLoadedReachTheFirstPage) {
  // The load's completion is handled before `loaded` returns: its reset of the selection would
  // otherwise send the second Nxt back to the field.
  ASSERT_EQ(Fly("button 0\n"  // the browser is still starting
                "url @/form\n"
                "loaded 20000\n"
                "button 0\n"
                "button 3\n"
                "type brovis\n"
                "button 0\n"
                "button 2\n"
                "settle 10000\n"),
            0)
      << errors;
  EXPECT_THAT(server.requests(), Contains("GET /search?q=brovis"));
  EXPECT_THAT(output, HasSubstr("button 0 event 1 -> true\nno page: button 0 reached no page"));
}

TEST_F(PilotLoop, ScrollsInFixedStepsWithButtonsAndKeys) {
  // The page reports each scroll once per frame it draws: the waits leave a busy machine time
  // to draw between steps, or a step and its undoing could fall in one frame and go unseen.
  ASSERT_EQ(Fly("url @/long\n"
                "settle 20000\n"
                "key down\nwait 1000\n"
                "button 7\nwait 1000\n"
                "key up\nwait 1000\n"
                "button 6\nwait 1000\n"
                "button 9\nwait 1000\n"
                "key left\nwait 1000\n"
                "key up\nwait 1000\n"),  // at the top already: nothing moves
            0)
      << errors;
  std::vector<std::string> scrolls;
  for (const auto& line : server.requests())
    if (line.rfind("GET /scrolled", 0) == 0) scrolls.push_back(line);
  EXPECT_EQ(scrolls, (std::vector<std::string>{"GET /scrolled?x=0&y=60", "GET /scrolled?x=0&y=120",
                                               "GET /scrolled?x=0&y=60", "GET /scrolled?x=0&y=0",
                                               "GET /scrolled?x=60&y=0", "GET /scrolled?x=0&y=0"}));
}

TEST_F(PilotLoop, DisplaysShareThePageAndItsSelectionAcrossClosing) {
  ASSERT_EQ(Fly("url @/form\n"
                "settle 20000\n"
                "button 0\n"
                "open 2 400x300\n"
                "select 2\n"
                "settle 3000\n"
                "snap big.png\n"
                "select 1\n"
                "snap small.png\n"
                "close 1\n"
                "close 2\n"
                "wait 200\n"
                "open 3 300x200\n"
                "select 3\n"
                "settle 3000\n"
                "snap reopened.png\n"),
            0)
      << errors;
  const auto big = ReadPng((dir / "big.png").string());
  const auto small = ReadPng((dir / "small.png").string());
  const auto reopened = ReadPng((dir / "reopened.png").string());
  ASSERT_EQ(big.width(), 400);
  ASSERT_EQ(small.width(), 256);
  ASSERT_EQ(reopened.width(), 300);
  // The same page at each size (its background), and the selected field's red outline in each.
  for (const auto* shot : {&big, &small, &reopened}) {
    EXPECT_TRUE(Near(shot->at(shot->width() - 5, shot->height() - 5), 0xFFFFEEAA));
    EXPECT_GT(CountPixels(*shot, kRed), 50);
  }
}

}  // namespace
}  // namespace BrovisTest
