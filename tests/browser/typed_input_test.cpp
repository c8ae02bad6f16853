// Whatever the pilot types, at whatever display size: a defined result, nothing lost.
#include "tests/browser/window_fixture.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

TEST_F(WindowTest, LongAndUnusualTextsArriveWhole) {
  // Unwrapped: a mebibyte wrapped into lines keeps the browser laying it out for about a second,
  // which a busy machine stretches past the limit of the next call.
  server.page("/", "<textarea id='t' wrap='off'></textarea><p id='p'>page</p>");
  Open(server.url("/"));
  ASSERT_EQ(Str(form->selectNext()), "TEXTAREA");
  const std::string mebibyte(1 << 20, 'x');
  form->setKeyboard(Text(mebibyte));
  EXPECT_EQ(Eval("document.getElementById('t').value.length"), "1048576");
  // Control characters are text like any other (the field keeps line breaks its own way).
  form->setKeyboard(Text("a\x01\tb\nc\x7f"));
  EXPECT_EQ(Eval("JSON.stringify(document.getElementById('t').value)"), "\"a\\u0001\\tb\\nc\x7f\"");
  form->appendKeyboard(Text(""));
  EXPECT_EQ(Eval("document.getElementById('t').value.length"), "7");

  // A script address runs in the page, as a typed one does in a browser.
  form->Navigate(Text("javascript:document.getElementById('p').textContent='ran';void 0"));
  EXPECT_TRUE(PumpUntil([&] { return Eval("document.getElementById('p').textContent") == "ran"; }));
  // An address too long for the server harms nothing, and the next one loads as usual. (Where
  // it ends depends on the machine: a quiet one shows the browser's error page within a couple
  // of seconds; a busy one takes long enough for the browser to be counted as hung, and it is
  // started again.)
  form->Navigate(Text(server.url("/?") + mebibyte));
  PumpUntil([&] { return !access().browser().IsBusy(); }, 30s);
  Load(server.url("/"));
  const int before = completions;
  form->Navigate(Text(""));  // nothing to load
  form->Navigate(Text(" \t"));
  // A load started would keep the window busy until it had completed: once the window has
  // settled, it would show.
  Settle();
  EXPECT_EQ(completions, before);
  EXPECT_EQ(Eval("location.pathname"), "/");
}

TEST_F(WindowTest, AnyDisplaySizeRedraws) {
  server.page("/", "<body style='margin:0;background:#00ff00'></body>");
  Open(server.url("/"));
  for (int side : {0, 1, 19, 4096}) {
    EXPECT_EQ(Print(side, side).width(), side);
    // A large view takes the browser a while to draw; redraws show it once it has.
    if (side > 0) {
      EXPECT_TRUE(PumpUntil([&] { return Print(side, side).at(side - 1, 0) == 0xFF00FF00u; }))
          << side;
    }
  }
}

}  // namespace
}  // namespace BrovisTest
