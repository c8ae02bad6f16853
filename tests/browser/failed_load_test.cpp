// A load that fails: the module's notice in the failed document's place, as a page of the
// history, and the same address loading as any page once it answers.
#include <optional>

#include "tests/browser/window_fixture.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

// Pixels darker than mid-grey in every channel: text on the notice's white.
int DarkPixels(const Win32::Surface& surface) {
  int dark = 0;
  for (int y = 0; y < surface.height(); ++y)
    for (int x = 0; x < surface.width(); ++x) {
      const Win32::Pixel p = surface.at(x, y);
      if (((p >> 16) & 0xFF) < 0x80 && ((p >> 8) & 0xFF) < 0x80 && (p & 0xFF) < 0x80) ++dark;
    }
  return dark;
}

TEST_F(WindowTest, AFailedLoadShowsItsNoticeAsAPageOfTheHistory) {
  // A loopback port whose server has stopped: it refuses.
  std::optional<LoopbackServer> gone(std::in_place);
  const int port = gone->port();
  gone.reset();
  const std::string origin = "http://127.0.0.1:" + std::to_string(port);
  server.page("/", "<a href='" + origin + "/gone?<i>'>gone</a>");
  Open(server.url("/"));
  const auto notice = [&] { return Eval("document.body.innerText").value_or(""); };
  const auto shows = [&](const std::string& text) {
    return notice().find(text) != std::string::npos;
  };

  // An address typed: the address as the browser took it, and the browser's reason, in the
  // document and on the display; nothing loads again afterwards.
  Load(origin + "/gone?<i>");
  EXPECT_TRUE(shows(origin + "/gone?%3Ci%3E")) << notice();
  EXPECT_TRUE(shows("net::ERR_CONNECTION_REFUSED")) << notice();
  EXPECT_GT(DarkPixels(Print(256, 256)), 300);
  const int completed = completions;
  PumpFor(300ms);
  EXPECT_EQ(completions, completed);
  EXPECT_FALSE(access().browser().IsBusy());

  // Back to the page before; a link there fails the same way, with no reason told.
  form->NavigateBack();
  ASSERT_TRUE(PumpUntil([&] { return Eval("location.href") == server.url("/"); }));
  ASSERT_EQ(Str(form->selectNext()), "A");
  form->clickElement();
  ASSERT_TRUE(PumpUntil([&] { return shows(origin + "/gone?%3Ci%3E"); })) << notice();
  EXPECT_TRUE(shows("The browser gave no reason.")) << notice();

  // Once a server answers there, a step forward onto the failed entry loads its page.
  form->NavigateBack();
  ASSERT_TRUE(PumpUntil([&] { return Eval("location.href") == server.url("/"); }));
  LoopbackServer answering(port);
  ASSERT_GT(answering.port(), 0);
  // Closing its connections, so that it can stop while the browser is still there.
  answering.page("/gone", "<p id='here'>here</p>", "text/html", {{"Connection", "close"}});
  form->NavigateForward();
  EXPECT_TRUE(PumpUntil([&] { return Eval("document.getElementById('here')?.id") == "here"; }))
      << notice();
}

}  // namespace
}  // namespace BrovisTest
