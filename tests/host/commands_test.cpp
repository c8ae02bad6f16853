// The display's buttons, keys, menu and input boxes, on the module loaded as the host loads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "tests/host/loaded_module.h"
#include "tests/support/loopback_server.h"
#include "tests/support/pixels.h"
#include "tests/support/pump.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

class CommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    display = module.Open(256, 256);
    ASSERT_NE(display, nullptr);
    display->TakeInvalidated();
  }
  void TearDown() override { OrbiterHost::CancelInputBox(); }

  // Redraws as the host does, so the browser gets to run.
  void Fly(std::chrono::milliseconds time) {
    Win32::Surface surface(256, 256);
    Win32::SurfaceDC dc(surface);
    const auto end = std::chrono::steady_clock::now() + time;
    while (std::chrono::steady_clock::now() < end) {
      display->mfd().Update(dc.get());
      PumpFor(20ms);
    }
  }

  LoadedModule module{BROVIS_MODULE};
  std::unique_ptr<OrbiterHost::HostedDisplay> display;
};

// The buttons that open an input box, as the pilot sees them: the label beside the button, its
// entry in the menu, and the title of the box it opens.
struct BoxButton {
  std::string label, entry, title;
};
const BoxButton kBoxButtons[] = {{"Inpt", "Input text", "Set browser text"},
                                 {"App", "Append text", "Append browser text"},
                                 {"URL", "Load URL", "Input URL"}};

TEST_F(CommandsTest, EachButtonDoesWhatItsLabelAndMenuEntrySay) {
  EXPECT_EQ(display->mfd().ButtonMenu(nullptr), 12);
  const MFDBUTTONMENU* menu = nullptr;
  ASSERT_EQ(display->mfd().ButtonMenu(&menu), 12);
  ASSERT_NE(menu, nullptr);
  int boxes = 0;
  for (int b = 0; b < 12; ++b) {
    // Packed records of two pointers and a character, read one after the other as the host
    // reads them.
    const char* entry;
    std::memcpy(&entry, reinterpret_cast<const char*>(menu) + (2 * sizeof entry + 1) * b,
                sizeof entry);
    const char* label = display->mfd().ButtonLabel(b);
    ASSERT_TRUE(label && entry) << b;
    ASSERT_TRUE(display->mfd().ConsumeButton(b, 1)) << label;
    EXPECT_TRUE(display->TakeInvalidated()) << label;
    const auto box = OrbiterHost::OpenInputBox();
    OrbiterHost::CancelInputBox();
    const auto opens = std::ranges::find(kBoxButtons, std::string(label), &BoxButton::label);
    if (opens == std::end(kBoxButtons)) {
      EXPECT_FALSE(box) << label << " acts on the browser, with no box";
      continue;
    }
    ++boxes;
    EXPECT_EQ(entry, opens->entry);
    EXPECT_EQ(box ? box->title : "no box", opens->title);
  }
  EXPECT_EQ(boxes, 3);
  EXPECT_EQ(display->mfd().ButtonLabel(-1), nullptr);
  EXPECT_EQ(display->mfd().ButtonLabel(12), nullptr);
}

TEST_F(CommandsTest, ButtonsTurnIntoKeysOnlyOnALeftPress) {
  // Bit 0 clear: not a press of the left mouse button.
  EXPECT_FALSE(display->mfd().ConsumeButton(5, 0));
  EXPECT_FALSE(display->mfd().ConsumeButton(5, 2));
  EXPECT_FALSE(OrbiterHost::OpenInputBox());
  EXPECT_FALSE(display->mfd().ConsumeButton(12, 1));
  EXPECT_FALSE(display->mfd().ConsumeButton(-1, 1));
  EXPECT_FALSE(display->TakeInvalidated());

  EXPECT_TRUE(display->mfd().ConsumeButton(5, 1 | 4));
  auto box = OrbiterHost::OpenInputBox();
  ASSERT_TRUE(box);
  EXPECT_EQ(box->title, "Input URL");
  EXPECT_EQ(box->initialText, "");
  EXPECT_EQ(box->visibleLength, 60);
  EXPECT_EQ(box->userData, &display->mfd());
  EXPECT_TRUE(display->TakeInvalidated());
}

TEST_F(CommandsTest, KeysOfTheTableAreConsumedAndRedrawn) {
  for (DWORD key : {52u, 51u, 46u, 200u, 208u, 203u, 205u, 48u, 33u}) {
    EXPECT_TRUE(display->mfd().ConsumeKeyBuffered(key)) << key;
    EXPECT_TRUE(display->TakeInvalidated()) << key;
  }
  // The mode's own selection key is also "Set browser text".
  EXPECT_TRUE(display->mfd().ConsumeKeyBuffered(23));
  EXPECT_EQ(OrbiterHost::OpenInputBox()->title, "Set browser text");
  EXPECT_TRUE(display->mfd().ConsumeKeyBuffered(30));
  EXPECT_EQ(OrbiterHost::OpenInputBox()->title, "Append browser text");
  display->TakeInvalidated();
  for (DWORD key : {0u, 1u, 24u, 53u, 201u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(display->mfd().ConsumeKeyBuffered(key)) << key;
    EXPECT_FALSE(display->TakeInvalidated()) << key;
  }
}

TEST_F(CommandsTest, CallbacksAcceptAlwaysAndIgnoreMissingUserData) {
  ASSERT_TRUE(display->mfd().ConsumeKeyBuffered(22));
  const auto box = OrbiterHost::OpenInputBox();
  display->TakeInvalidated();
  char text[] = "http://127.0.0.1:9/never";
  EXPECT_TRUE(box->callback(nullptr, text, nullptr));
  EXPECT_FALSE(display->TakeInvalidated());
}

TEST_F(CommandsTest, AnAddressTypedAfterItsDisplayClosedStillLoads) {
  LoopbackServer server;
  server.page("/late", "<body style='margin:0;background:#00ff00'></body>");
  ASSERT_TRUE(display->mfd().ConsumeKeyBuffered(22));
  display.reset();  // the pilot closes the display while its box is open
  EXPECT_EQ(OrbiterHost::ConfirmInputBox(server.url("/late")), true);
  EXPECT_TRUE(PumpUntil([&] { return server.waitForRequest("GET /late", 10ms); }));
  // A display opened again shows the page the text loaded, all over.
  display = module.Open(128, 128);
  ASSERT_NE(display, nullptr);
  Win32::Surface surface(128, 128);
  Win32::SurfaceDC dc(surface);
  EXPECT_TRUE(PumpUntil([&] {
    display->mfd().Update(dc.get());
    return CountPixels(surface, 0xFF00FF00) == 128 * 128;
  }));
}

TEST_F(CommandsTest, TextBoxesReachTheSelectedFieldInTheHostsCodePage) {
  LoopbackServer server;
  server.page("/", "<form action='/sent'><input name='q' value='abc'><input type='submit'></form>");
  server.page("/sent", "<p>sent</p>");
  ASSERT_TRUE(display->mfd().ConsumeKeyBuffered(22));
  ASSERT_EQ(OrbiterHost::ConfirmInputBox(server.url("/")), true);
  // The browser may still be starting: it comes up while messages are processed.
  ASSERT_TRUE(PumpUntil([&] { return server.waitForRequest("GET /", 10ms); }, 20s));
  Fly(800ms);
  ASSERT_TRUE(display->mfd().ConsumeButton(0, 1));  // Nxt: the field
  ASSERT_TRUE(display->mfd().ConsumeButton(4, 1));  // App
  // Code page 1252: 0xE9 is an accented e.
  ASSERT_EQ(OrbiterHost::ConfirmInputBox("d\xE9"), true);
  EXPECT_TRUE(display->TakeInvalidated());
  ASSERT_TRUE(display->mfd().ConsumeButton(0, 1));  // Nxt: the submit button
  ASSERT_TRUE(display->mfd().ConsumeButton(2, 1));  // Clk
  EXPECT_TRUE(PumpUntil([&] { return server.waitForRequest("GET /sent?q=abcd\xC3\xA9", 10ms); }))
      << ::testing::PrintToString(server.requests());
}

}  // namespace
}  // namespace BrovisTest
