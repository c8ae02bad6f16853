#include "tests/browser/window_fixture.h"
#include "tests/support/pixels.h"

namespace BrovisTest {
namespace {

using namespace std::chrono_literals;

TEST_F(WindowTest, Smoke) {
  server.page("/", "<html><body style='margin:0;background:#00ff00'><p>hi</p></body></html>");
  Open(server.url("/"));
  auto surface = Print(256, 256);
  WritePng(surface, "/tmp/smoke.png");
  EXPECT_TRUE(Near(surface.at(200, 200), 0xFF00FF00)) << std::hex << surface.at(200, 200);
  EXPECT_EQ(Eval("document.body.style.background"), "rgb(0, 255, 0)");
}

}  // namespace
}  // namespace BrovisTest
