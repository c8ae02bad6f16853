// Conversions with exact, observable results: typed addresses and the page's pictures.
#include <gtest/gtest.h>
#include <png.h>
#include <sodium.h>

#include <vector>

#include "browser/engine/chromium/frames/png_picture.h"
#include "browser/engine/chromium/navigation/address.h"

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

// A one-pixel PNG of `color` (0xAARRGGBB), in base64.
std::string Base64Png(std::uint32_t color) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = image.height = 1;
  image.format = PNG_FORMAT_BGRA;
  png_alloc_size_t size = 0;
  EXPECT_TRUE(png_image_write_to_memory(&image, nullptr, &size, 0, &color, 0, nullptr));
  std::vector<unsigned char> bytes(size);
  EXPECT_TRUE(png_image_write_to_memory(&image, bytes.data(), &size, 0, &color, 0, nullptr));
  std::string base64(sodium_base64_encoded_len(size, sodium_base64_VARIANT_ORIGINAL), '\0');
  sodium_bin2base64(base64.data(), base64.size(), bytes.data(), size,
                    sodium_base64_VARIANT_ORIGINAL);
  base64.pop_back();  // the terminating NUL
  return base64;
}

TEST(NewestPicture, KeepsTheNewestThatDecodesAndTellsWhatIsNew) {
  Engine::NewestPicture picture;
  EXPECT_EQ(picture.latest(), nullptr);
  EXPECT_TRUE(picture.receive(Base64Png(0xFFFF0000)));
  EXPECT_FALSE(picture.receive(Base64Png(0xFFFF0000)));
  ASSERT_NE(picture.latest(), nullptr);
  EXPECT_EQ(picture.latest()->at(0, 0), 0xFFFF0000u);
  // Not base64, not a PNG, or a PNG cut short: the picture before stays.
  for (std::string bad : {std::string("********"), std::string("R0lGODlhAQABAIAAAAAAAP8="),
                          Base64Png(0xFF00FF00).substr(0, 40)}) {
    EXPECT_TRUE(picture.receive(bad));
    ASSERT_NE(picture.latest(), nullptr);
    EXPECT_EQ(picture.latest()->at(0, 0), 0xFFFF0000u);
  }
  picture.receive(Base64Png(0xFF0000FF));
  EXPECT_EQ(picture.latest()->at(0, 0), 0xFF0000FFu);
}

}  // namespace
}  // namespace Brovis
