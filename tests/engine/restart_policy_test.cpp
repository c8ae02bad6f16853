// How often a lost browser is replaced: a few times within the window, then not until the pilot
// asks for a page.
#include "browser/engine/chromium/restart_policy.h"

#include <gtest/gtest.h>

namespace Brovis::Engine {
namespace {

TEST(RestartPolicy, StopsAfterQuickFailuresUntilForgivenAndForgetsOldOnes) {
  RestartPolicy policy;
  const auto start = RestartPolicy::Clock::time_point{} + std::chrono::hours(1);
  for (int i = 0; i < RestartPolicy::kMaxRestarts; ++i)
    EXPECT_TRUE(policy.allowRestart(start + std::chrono::seconds(i)));
  EXPECT_FALSE(policy.allowRestart(start + std::chrono::seconds(10)));
  EXPECT_TRUE(policy.suspended());
  // Suspended, even once the window has passed: only the pilot brings the browser back.
  EXPECT_FALSE(policy.allowRestart(start + std::chrono::minutes(5)));

  policy.forgive();
  EXPECT_FALSE(policy.suspended());
  const auto later = start + std::chrono::minutes(10);
  for (int i = 0; i < RestartPolicy::kMaxRestarts; ++i)
    EXPECT_TRUE(policy.allowRestart(later + i * (RestartPolicy::kWindow / 2)));
  // Restarts spread out wider than the window never add up to a suspension.
  EXPECT_FALSE(policy.suspended());
  EXPECT_EQ(policy.restartsMade(), 2 * RestartPolicy::kMaxRestarts);
}

}  // namespace
}  // namespace Brovis::Engine
