// The parts of the page operations that need no page: which element facts make an element
// selectable, the scroll record's rounding, and the scroll step's arithmetic at the offsets a
// pilot sees.
#include <gtest/gtest.h>

#include "browser/scroll_math.h"
#include "browser/scroll_step.h"
#include "browser/selectable.h"

namespace BrovisTest {
namespace {

using Brovis::IsSelectable;
using Brovis::ToScrollOffset;
using Brovis::ToScrollPosition;
using Brovis::Engine::ElementFacts;

ElementFacts Facts(Brovis::BrowserText tag, std::optional<Brovis::BrowserText> type = {},
                   bool shown = true, bool reachable = true) {
  return {std::move(tag), std::move(type), shown, reachable};
}

TEST(Selectable, OnlyLinksTextAreasAndInputsWhateverTheCaseOfTheirTag) {
  for (const char8_t* tag : {u8"A", u8"a", u8"INPUT", u8"input", u8"TEXTAREA", u8"TextArea"}) {
    EXPECT_TRUE(IsSelectable(Facts(tag))) << reinterpret_cast<const char*>(tag);
    EXPECT_FALSE(IsSelectable(Facts(tag, {}, false))) << reinterpret_cast<const char*>(tag);
    // Shown, but where no scroll can bring it into view.
    EXPECT_FALSE(IsSelectable(Facts(tag, {}, true, false))) << reinterpret_cast<const char*>(tag);
  }
  for (const char8_t* tag : {u8"BUTTON", u8"SELECT", u8"DIV", u8"ABBR", u8"AREA", u8"", u8"A "})
    EXPECT_FALSE(IsSelectable(Facts(tag))) << reinterpret_cast<const char*>(tag);
}

TEST(Selectable, OnlyAnInputWhoseTypeIsExactlyHiddenIsPassedOver) {
  EXPECT_FALSE(IsSelectable(Facts(u8"INPUT", u8"hidden")));
  EXPECT_TRUE(IsSelectable(Facts(u8"INPUT")));
  for (const char8_t* type : {u8"Hidden", u8"HIDDEN", u8"hidden ", u8"", u8"checkbox", u8"text"})
    EXPECT_TRUE(IsSelectable(Facts(u8"INPUT", type))) << reinterpret_cast<const char*>(type);
  // The type only matters for inputs.
  EXPECT_TRUE(IsSelectable(Facts(u8"A", u8"hidden")));
  EXPECT_TRUE(IsSelectable(Facts(u8"TEXTAREA", u8"hidden")));
}

// The stored position after one step from a pixel offset, written back as the offset the page
// is given; -1 when the step does not move.
int Up(int offset) {
  const auto next = Brovis::StepTowardStart(Brovis::ToScrollPosition(offset, 200), 200);
  return next ? Brovis::ToScrollOffset(*next, 200) : -1;
}
int Down(int offset, int extent = 100000) {
  const auto next = Brovis::StepTowardEnd(Brovis::ToScrollPosition(offset, 200), 200, extent);
  return next ? Brovis::ToScrollOffset(*next, 200) : -1;
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

TEST(ScrollStep, OffsetsWrittenFromTheStartingOffsets) {
  EXPECT_EQ(Down(0), 60);
  EXPECT_EQ(Down(200), 259);
  EXPECT_EQ(Up(200), 139);
  EXPECT_EQ(Up(63), 2);
  EXPECT_EQ(Up(61), 1);
  EXPECT_EQ(Up(60), 0);
  EXPECT_EQ(Up(40), 0);
  EXPECT_EQ(Up(1), 0);
  EXPECT_EQ(Up(0), -1);
}

TEST(ScrollStep, DownStopsAtTheWholeExtent) {
  // 259 would pass the extent of 250: the position becomes exactly 250 / 200.
  const auto next = Brovis::StepTowardEnd(1.0f, 200, 250);
  ASSERT_TRUE(next);
  EXPECT_EQ(*next, 1.25f);
  EXPECT_EQ(Down(200, 250), 250);
  // Not below the extent: nothing moves.
  EXPECT_EQ(Down(250, 250), -1);
  EXPECT_EQ(Down(300, 250), -1);
  EXPECT_EQ(Down(249, 250), 250);
  // The extent, not the extent less the view: a step may go beyond what the page can scroll.
  EXPECT_EQ(Down(700, 1000), 759);
}

}  // namespace
}  // namespace BrovisTest
