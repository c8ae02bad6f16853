// Which screencast frame the picture is, and which step of the page's rendering a frame shows:
// the browser encodes frames side by side, and a busy one dates an older step's frame late.
#include "browser/engine/chromium/picture_freshness.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sodium.h>
#include <sys/socket.h>

#include <vector>

namespace Brovis::Engine {
namespace {

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

TEST(PictureFreshness, AFrameDatedBeforeThePictureDoesNotReplaceItUnlessTheClockWentBack) {
  int in[2], out[2];
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, in), 0);
  ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, out), 0);
  const UniqueFd browserEnds[] = {UniqueFd(in[1]), UniqueFd(out[1])};
  Connection connection{PipeTransport(UniqueFd(in[0]), UniqueFd(out[0]))};
  PictureFreshness freshness;
  freshness.attach(connection, "S", nullptr);
  const auto shownAfter = [&](std::uint32_t color, double seconds) {
    freshness.frameArrived(
        {{"sessionId", 1}, {"data", Base64Png(color)}, {"metadata", {{"timestamp", seconds}}}});
    const Win32::Surface* picture = freshness.picture(std::chrono::milliseconds{0}, 1, 1);
    return picture ? picture->at(0, 0) : 0u;
  };
  EXPECT_EQ(shownAfter(0xFFFF0000, 1000.050), 0xFFFF0000u);
  EXPECT_EQ(shownAfter(0xFF0000FF, 1000.030), 0xFFFF0000u);
  EXPECT_EQ(shownAfter(0xFF00FF00, 1000.070), 0xFF00FF00u);
  // Seconds earlier: the clock was set back, and this is the newest frame.
  EXPECT_EQ(shownAfter(0xFF0000FF, 990.0), 0xFF0000FFu);
  freshness.detach();
}

TEST(RenderedSteps, FramesShowTheStepsWaitingForThemInOrder) {
  RenderedSteps steps;
  // Two steps in a row, the first one's frame dated as late as the second one's would be.
  EXPECT_FALSE(steps.stepRendered(2000, 0));
  EXPECT_FALSE(steps.stepRendered(2016.7, 0));
  EXPECT_FALSE(steps.frameKept(2033.3, 1));
  EXPECT_TRUE(steps.frameKept(2050, 2));
  EXPECT_TRUE(steps.stepRendered(2016.7, 0));  // a second fence settled at a step shown already
  // A frame dated at its step's own tick is not of it.
  EXPECT_FALSE(steps.stepRendered(3000, 2));
  EXPECT_FALSE(steps.frameKept(3005, 3));
  EXPECT_TRUE(steps.frameKept(3016.7, 4));
  // A frame can come before its fence's answer, but not before its change was sent.
  EXPECT_FALSE(steps.frameKept(4016.7, 5));
  EXPECT_TRUE(steps.stepRendered(4000, 4));
  EXPECT_FALSE(steps.frameKept(5016.7, 6));
  EXPECT_FALSE(steps.stepRendered(5000, 6));
}

}  // namespace
}  // namespace Brovis::Engine
