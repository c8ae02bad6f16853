// The pilot's address against navigations started by the page being left, in the orders the
// browser reports them.
#include "browser/engine/chromium/navigation/pilot_navigation.h"

#include <gtest/gtest.h>

namespace Brovis::Engine {
namespace {

TEST(PilotNavigation, LoadsAgainOnlyWhenThePageBeingLeftWouldWin) {
  PilotNavigation pilot;
  // Nothing else started: the pilot's page simply commits, and may move on by itself later.
  pilot.started("http://a/", false);
  pilot.startedNavigating("P1");
  EXPECT_EQ(pilot.answered("P1"), std::nullopt);
  EXPECT_EQ(pilot.committed("P1"), std::nullopt);
  pilot.startedNavigating("R1");
  EXPECT_EQ(pilot.committed("R1"), std::nullopt);

  // The old page's navigation commits right after the pilot's: loaded again.
  pilot.started("http://a/", false);
  pilot.startedNavigating("P2");
  pilot.startedNavigating("X2");
  EXPECT_EQ(pilot.answered("P2"), std::nullopt);
  EXPECT_EQ(pilot.committed("P2"), "http://a/");  // X2 is still on its way

  // The answer comes after both commits; one that committed before the pilot's is harmless.
  pilot.started("http://a/", false);
  pilot.startedNavigating("X3");
  pilot.startedNavigating("P3");
  pilot.startedNavigating("Y3");
  EXPECT_EQ(pilot.committed("X3"), std::nullopt);
  EXPECT_EQ(pilot.committed("P3"), std::nullopt);
  EXPECT_EQ(pilot.committed("Y3"), std::nullopt);
  EXPECT_EQ(pilot.answered("P3"), "http://a/");

  // A page that keeps winning is given up on after a few loads; a failed load is not guarded.
  for (int retry = 1; retry <= PilotNavigation::kMaxRetries; ++retry) {
    pilot.started("http://a/", true);
    pilot.startedNavigating("Z");
    pilot.answered("P");
    const auto again = pilot.committed("P");
    EXPECT_EQ(again.has_value(), retry < PilotNavigation::kMaxRetries) << retry;
  }
  pilot.started("http://b/", false);
  pilot.startedNavigating("Z");
  EXPECT_EQ(pilot.answered(std::nullopt), std::nullopt);
  EXPECT_EQ(pilot.committed("Z"), std::nullopt);
}

}  // namespace
}  // namespace Brovis::Engine
