// How often a lost browser is replaced: a few times within the window, then not until the pilot
// asks for a page; and when a browser that could not be started is tried again.
#include "browser/engine/chromium/process/restart_policy.h"

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

TEST(RestartPolicy, FailedStartsWaitLongerEachTimeUntilOneSucceedsOrThePilotAsks) {
  using std::chrono::seconds;
  RestartPolicy policy;
  const auto start = RestartPolicy::Clock::time_point{} + std::chrono::hours(1);
  EXPECT_FALSE(policy.retrying());
  auto now = start;
  for (const int pause : {1, 2, 4, 8, 16, 30, 30, 30}) {
    policy.startFailed(now);
    EXPECT_TRUE(policy.retrying());
    EXPECT_EQ(policy.retryAt(), now + seconds(pause));
    now = policy.retryAt();
  }
  // However often a start fails, it never suspends restarts nor counts as one.
  EXPECT_FALSE(policy.suspended());
  EXPECT_EQ(policy.restartsMade(), 0);

  // The pilot loads an address: the next try is due at once, and a failure waits as long as the
  // one before did.
  policy.forgive();
  EXPECT_LE(policy.retryAt(), now);
  policy.startFailed(now);
  EXPECT_EQ(policy.retryAt(), now + RestartPolicy::kLongestRetryPause);

  policy.startSucceeded();
  EXPECT_FALSE(policy.retrying());
  policy.startFailed(now);
  EXPECT_EQ(policy.retryAt(), now + RestartPolicy::kFirstRetryPause);
}

}  // namespace
}  // namespace Brovis::Engine
