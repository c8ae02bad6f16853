// Conversions with exact, observable results: typed addresses, scroll positions, frame sizes.
#include <gtest/gtest.h>

#include "browser/engine/chromium/address.h"
#include "browser/engine/chromium/screencast.h"
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

TEST(Screencast, FrameSizeComesFromTheImageHeader) {
  using Engine::Base64PngSize;
  // A 3 x 2 PNG's first 24 bytes (signature, IHDR), then anything.
  EXPECT_EQ(Base64PngSize("iVBORw0KGgoAAAANSUhEUgAAAAMAAAACCAYAAAA="), std::make_pair(3, 2));
  // Not a PNG, cut short, or not base64 at all: no size, so never taken for a fresh frame.
  EXPECT_EQ(Base64PngSize("R0lGODlhAQABAIAAAAAAAP///yH5BAEAAAAALAAAAAA"), std::make_pair(0, 0));
  EXPECT_EQ(Base64PngSize("iVBORw0KGgoAAAANSUhEUgAA"), std::make_pair(0, 0));
  EXPECT_EQ(Base64PngSize("********************************"), std::make_pair(0, 0));
  // An absurd size in the header stays bounded.
  EXPECT_LT(Base64PngSize("iVBORw0KGgoAAAANSUhEUv//////////").first, 1 << 20);
}

}  // namespace
}  // namespace Brovis
