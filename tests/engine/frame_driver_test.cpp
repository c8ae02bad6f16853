// The frame driver against a page of the test's own, on a clock of the test's own: a change's
// wait and its tries, and displays of two sizes drawn in turn while frames take longer than a
// redraw may wait.
#include "browser/engine/chromium/frames/frame_driver.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sodium.h>

#include <algorithm>
#include <functional>
#include <map>
#include <vector>

namespace Brovis::Engine {
namespace {

using namespace std::chrono_literals;
using Clock = FrameDriver::Clock;

constexpr ViewSize kSmall{6, 4};
constexpr ViewSize kLarge{9, 7};

// A picture of `size` in one colour, as the browser sends it: PNG in base64.
std::string Picture(ViewSize size, Win32::Pixel colour) {
  std::vector<Win32::Pixel> pixels(static_cast<std::size_t>(size.width * size.height), colour);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(size.width);
  image.height = static_cast<png_uint_32>(size.height);
  image.format = PNG_FORMAT_BGRA;
  png_alloc_size_t bytes = 0;
  png_image_write_to_memory(&image, nullptr, &bytes, 0, pixels.data(), 0, nullptr);
  std::vector<unsigned char> png(bytes);
  png_image_write_to_memory(&image, png.data(), &bytes, 0, pixels.data(), 0, nullptr);
  std::string text(sodium_base64_encoded_len(bytes, sodium_base64_VARIANT_ORIGINAL), '\0');
  sodium_bin2base64(text.data(), text.size(), png.data(), bytes, sodium_base64_VARIANT_ORIGINAL);
  text.resize(text.size() - 1);
  return text;
}

// A page on the test's clock: a new view size takes `layoutTime` to be laid out, a frame
// `frameTime`, one at a time. A picture's colour tells the page's version and the width of the
// layout it shows, which lags behind the view's size until the layout is done.
class FakePage : public FrameTarget {
 public:
  explicit FakePage(Clock::time_point& now) : now_(now) {}

  void resizeView(ViewSize size, std::chrono::milliseconds, Resized resized) override {
    view = size;
    ++resizes;
    events_.push_back({now_ + layoutTime, [this, size, resized = std::move(resized)] {
                         layoutWidth = size.width;
                         layingOut_ = emptyAfterResize;
                         resized(true);
                       }});
  }
  void beginFrame(bool withPicture, std::chrono::milliseconds, Answered answered) override {
    EXPECT_FALSE(frameOnItsWay_) << "a frame asked while another is on its way";
    frameOnItsWay_ = true;
    // The frame shows the layout the page has as it is asked.
    const ViewSize size = view;
    const int layout = layoutWidth;
    const bool empty = layingOut_ > 0;
    if (empty) --layingOut_;
    events_.push_back({now_ + frameTime,
                       [this, withPicture, size, layout, empty, answered = std::move(answered)] {
                         frameOnItsWay_ = false;
                         FrameAnswer answer;
                         if (withPicture && !blank && !empty) {
                           ++pictures[size];
                           answer.picture = Picture(size, Colour(version, layout));
                         }
                         answered(answer);
                       }});
  }
  void waitAndPoll(std::chrono::milliseconds limit) override {
    const Clock::time_point until = now_ + limit;
    const auto next = std::ranges::min_element(events_, {}, &Event::due);
    if (next == events_.end() || next->due > until || hung) {
      now_ = until;
      return;
    }
    now_ = std::max(now_, next->due);
    const auto run = std::move(next->run);
    events_.erase(next);
    run();
  }
  bool closed() const override { return false; }

  // Lets the page answer whatever it was asked, as the host's message loop does between redraws.
  void runFor(std::chrono::milliseconds time) {
    const Clock::time_point end = now_ + time;
    while (now_ < end)
      waitAndPoll(std::chrono::duration_cast<std::chrono::milliseconds>(end - now_));
  }

  static Win32::Pixel Colour(std::uint32_t version, int layoutWidth) {
    return 0xFF000000u | version << 8 | static_cast<std::uint32_t>(layoutWidth);
  }

  std::chrono::milliseconds frameTime{20};
  std::chrono::milliseconds layoutTime{10};
  bool hung = false;
  bool blank = false;
  // Frames that come without a picture after the page is laid out at a new size.
  int emptyAfterResize = 0;
  ViewSize view;
  int layoutWidth = 0;
  int resizes = 0;
  std::uint32_t version = 1;
  std::map<ViewSize, int> pictures;

 private:
  struct Event {
    Clock::time_point due;
    std::function<void()> run;
  };
  Clock::time_point& now_;
  std::vector<Event> events_;
  bool frameOnItsWay_ = false;
  int layingOut_ = 0;
};

struct Driven {
  Clock::time_point now = Clock::now();
  FakePage page{now};
  FrameDriver driver{nullptr, [this] { return now; }};

  Driven() {
    driver.attach(page, kSmall);
    page.view = kSmall;
    page.layoutWidth = kSmall.width;
    driver.allowDrawing();
  }
  // The page is changed through the module.
  void change() {
    ++page.version;
    driver.changed();
  }
  // A display's redraw: the colour it shows, 0 for nothing. Only a picture of its own size, laid
  // out at its size, may show.
  Win32::Pixel redraw(ViewSize size) {
    const Win32::Surface* shown = driver.picture(size, 100ms);
    if (!shown) return 0;
    EXPECT_EQ(shown->width(), size.width);
    EXPECT_EQ(shown->height(), size.height);
    EXPECT_EQ(static_cast<int>(shown->at(0, 0) & 0xFF), size.width) << "another size's layout";
    return shown->at(0, 0);
  }
  Win32::Pixel current(ViewSize size) const { return FakePage::Colour(page.version, size.width); }
};

TEST(FrameDriver, AChangeWaitsOnceForItsPictureAndTriesAgainWhenOneComesEmpty) {
  Driven d;
  const Win32::Pixel first = d.redraw(kSmall);
  EXPECT_NE(first, 0u);
  d.page.runFor(1s);
  // The first frames of a document can come without a picture: the redraw asks again.
  d.change();
  d.page.blank = true;
  const auto start = d.now;
  d.redraw(kSmall);
  EXPECT_EQ(d.now - start, 3 * d.page.frameTime);
  d.page.blank = false;
  // Waited once: the next redraw does not wait, and takes the picture asked for meanwhile.
  const auto next = d.now;
  d.redraw(kSmall);
  EXPECT_EQ(d.now, next);
  d.page.runFor(50ms);
  EXPECT_NE(d.redraw(kSmall), first);
  // A renderer that never answers: the redraw gives up within its limit, showing the last picture.
  d.page.runFor(1s);
  const Win32::Pixel last = d.redraw(kSmall);
  d.change();
  d.page.hung = true;
  const auto hungFrom = d.now;
  EXPECT_EQ(d.redraw(kSmall), last);
  EXPECT_EQ(d.now - hungFrom, 100ms);
}

TEST(FrameDriver, DisplaysOfTwoSizesDrawnInTurnEachGetTheirOwnPictures) {
  Driven d;
  // Frames slower than a redraw's wait, and the first ones at a new size without a picture, as on
  // a busy machine with a heavy page.
  d.page.frameTime = 120ms;
  d.page.layoutTime = 80ms;
  d.page.emptyAfterResize = 1;
  const auto drawInTurn = [&](int rounds, std::map<ViewSize, int>* behind = nullptr) {
    for (int round = 0; round < rounds; ++round)
      for (const ViewSize size : {kSmall, kLarge}) {
        if (behind && d.redraw(size) != d.current(size)) ++(*behind)[size];
        if (!behind) d.redraw(size);
        d.page.runFor(50ms);
      }
  };
  // Every change is shown at each size within a few rounds, however the frames fall.
  for (int change = 0; change < 10; ++change) {
    d.change();
    std::map<ViewSize, int> behind;
    drawInTurn(8, &behind);
    EXPECT_LE(behind[kSmall], 6) << "change " << change;
    EXPECT_LE(behind[kLarge], 6) << "change " << change;
  }
  // Once the page stops changing, each shows it as it stands and nothing more is rendered: not
  // even a new layout at the other size.
  drawInTurn(10);
  d.page.runFor(200ms);
  EXPECT_FALSE(d.driver.pictureOwed(kSmall));
  EXPECT_FALSE(d.driver.pictureOwed(kLarge));
  const int pictures = d.page.pictures[kSmall] + d.page.pictures[kLarge];
  const int resizes = d.page.resizes;
  EXPECT_LE(resizes, pictures);
  drawInTurn(20);
  EXPECT_EQ(d.page.pictures[kSmall] + d.page.pictures[kLarge], pictures);
  EXPECT_EQ(d.page.resizes, resizes);
}

TEST(FrameDriver, APilotsCommandTakesItsDisplaysSizeWhileAnotherIsDrawn) {
  Driven d;
  d.redraw(kSmall);
  d.page.runFor(50ms);
  d.redraw(kLarge);
  d.page.runFor(500ms);
  ASSERT_EQ(d.page.view, kLarge);
  // A redraw alone leaves the view to the size owed a picture.
  d.driver.resizeFor(kSmall, 1s);
  EXPECT_EQ(d.page.view, kLarge);
  // A command from the small display acts on the page laid out at its size.
  d.driver.layOutFor(kSmall, 1s);
  EXPECT_EQ(d.page.view, kSmall);
  EXPECT_EQ(d.page.layoutWidth, kSmall.width);
}

TEST(FrameDriver, TwoDisplaysOfOneSizeCostWhatOneDoes) {
  Driven one, two;
  for (int round = 0; round < 30; ++round) {
    if (round % 3 == 0) {
      one.change();
      two.change();
    }
    one.redraw(kSmall);
    two.redraw(kSmall);
    two.redraw(kSmall);
    one.page.runFor(100ms);
    two.page.runFor(100ms);
  }
  EXPECT_EQ(two.page.pictures[kSmall], one.page.pictures[kSmall]);
}

}  // namespace
}  // namespace Brovis::Engine
