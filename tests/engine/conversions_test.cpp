// Conversions with exact, observable results: typed addresses and frame sizes.
#include <gtest/gtest.h>

#include "browser/engine/chromium/address.h"
#include "browser/engine/chromium/screencast.h"

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
