// Conversions with exact, observable results: typed addresses and scroll positions.
#include <gtest/gtest.h>

#include "browser/engine/chromium/address.h"
#include "browser/scroll_math.h"

namespace Brovis {
namespace {

TEST(NormalizeAddress, TypedAddressesLoadAsABrowserAddressBoxWould) {
  using Engine::NormalizeAddress;
  EXPECT_EQ(NormalizeAddress("example.org/x"), "http://example.org/x");
  EXPECT_EQ(NormalizeAddress("localhost:8080/a"), "http://localhost:8080/a");
  EXPECT_EQ(NormalizeAddress("127.0.0.1:81"), "http://127.0.0.1:81");
  EXPECT_EQ(NormalizeAddress("  https://a.b/c  "), "https://a.b/c");
  EXPECT_EQ(NormalizeAddress("HTTP://A.B/"), "HTTP://A.B/");
  EXPECT_EQ(NormalizeAddress("file:///tmp/x.html"), "file:///tmp/x.html");
  EXPECT_EQ(NormalizeAddress("about:blank"), "about:blank");
  EXPECT_EQ(NormalizeAddress(""), "");
  EXPECT_EQ(NormalizeAddress(" \t"), "");
}

TEST(ScrollMath, OffsetsRoundTripTheWayTheRecordStoresThem) {
  // Read back and written unchanged: the same or one pixel less.
  for (int offset : {40, 60, 120, 0, 200, 1000})
    EXPECT_EQ(ToScrollOffset(ToScrollPosition(offset, 200), 200), offset) << offset;
  EXPECT_EQ(ToScrollOffset(ToScrollPosition(3, 200), 200), 2);
  EXPECT_FLOAT_EQ(ToScrollPosition(120, 200), 0.6f);
  EXPECT_EQ(ToScrollOffset(1.25f, 200), 250);
  // Nothing a page reports can overflow, but extreme values stay defined.
  EXPECT_EQ(ToScrollOffset(1e30f, 200), 2147483647);
  EXPECT_EQ(ToScrollOffset(-1e30f, 200), -2147483647 - 1);
}

}  // namespace
}  // namespace Brovis
