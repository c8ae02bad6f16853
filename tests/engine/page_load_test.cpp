// Where the page is in its load, from the browser's load events as they are read, at times of
// the test's own.
#include "browser/engine/chromium/navigation/page_load.h"

#include <gtest/gtest.h>

namespace Brovis::Engine {
namespace {

using namespace std::chrono_literals;
using Stage = PageLoad::Stage;
using Change = LoadChange::Kind;

class PageLoadTest : public ::testing::Test {
 protected:
  // The event `method` with `params`, read as the engine reads it, handled at the test's time.
  std::vector<LoadChange> Event(std::string_view method, Json params = Json::object()) {
    const auto event = ParseLoadEvent(method, params);
    EXPECT_TRUE(event) << method;
    return event ? load.handle(*event, now) : std::vector<LoadChange>{};
  }
  std::vector<LoadChange> Commit(const std::string& frame, const std::string& url,
                                 const char* parent = nullptr) {
    Json info = {{"id", frame}, {"loaderId", "L-" + url}, {"url", url}};
    if (parent) info["parentId"] = parent;
    return Event("Page.frameNavigated", {{"frame", info}});
  }
  // The top document's ordinary load of `url`, up to its content being parsed.
  void LoadUntilParsed(const std::string& url) {
    Event("Page.frameStartedNavigating",
          {{"frameId", "top"}, {"loaderId", "L-" + url}, {"navigationType", "differentDocument"}});
    Event("Page.frameStartedLoading", {{"frameId", "top"}});
    Commit("top", url);
    Event("Page.domContentEventFired");
  }
  static int Count(const std::vector<LoadChange>& changes, Change kind) {
    return static_cast<int>(std::ranges::count(changes, kind, &LoadChange::kind));
  }

  PageLoad load;
  PageLoad::Clock::time_point now = PageLoad::Clock::time_point{} + 1h;
};

TEST_F(PageLoadTest, AnOrdinaryLoadGoesThroughItsStagesAndCompletesOnce) {
  EXPECT_EQ(load.stage(), Stage::Loaded);
  load.navigationSent();
  EXPECT_EQ(load.stage(), Stage::Requested);
  EXPECT_TRUE(load.loadingDocument());
  const auto started =
      Event("Page.frameStartedNavigating",
            {{"frameId", "top"}, {"loaderId", "L1"}, {"navigationType", "differentDocument"}});
  ASSERT_EQ(Count(started, Change::StartedNavigating), 1);
  EXPECT_EQ(started[0].loaderId, "L1");
  load.navigationAnswered();
  Event("Page.frameStartedLoading", {{"frameId", "top"}});
  EXPECT_EQ(load.stage(), Stage::Requested);
  const auto committed = Commit("top", "http://a/");
  ASSERT_EQ(Count(committed, Change::Committed), 1);
  EXPECT_EQ(load.stage(), Stage::Committed);
  EXPECT_EQ(load.committedUrl(), "http://a/");
  Event("Page.domContentEventFired");
  EXPECT_EQ(load.stage(), Stage::Parsed);
  EXPECT_TRUE(load.loadingDocument());
  const auto loaded = Event("Page.loadEventFired");
  ASSERT_EQ(Count(loaded, Change::Completed), 1);
  EXPECT_TRUE(loaded[0].top);
  EXPECT_EQ(loaded[0].url, "http://a/");
  EXPECT_EQ(load.stage(), Stage::Loaded);
  EXPECT_FALSE(load.busy(now));
  // Its frame stops loading after the load event: no second completion.
  EXPECT_EQ(Count(Event("Page.frameStoppedLoading", {{"frameId", "top"}}), Change::Completed), 0);
  // A reload or a history step starts no navigation to a new address of the pilot's concern.
  EXPECT_TRUE(Event("Page.frameStartedNavigating",
                    {{"frameId", "top"}, {"loaderId", "L2"}, {"navigationType", "reload"}})
                  .empty());
}

TEST_F(PageLoadTest, ALoadAbortedOrReplacedBeforeItsEndCompletesNothing) {
  LoadUntilParsed("http://a/");
  // Replaced by another navigation: the first never completes; the second does.
  Event("Page.frameStartedNavigating",
        {{"frameId", "top"}, {"loaderId", "L-b"}, {"navigationType", "differentDocument"}});
  EXPECT_EQ(Count(Event("Page.loadEventFired"), Change::Completed), 0);
  EXPECT_EQ(Count(Event("Page.frameStoppedLoading", {{"frameId", "top"}}), Change::Completed), 0);
  // Stopped before it committed (a download, a stop of the page's own).
  Event("Page.frameStartedLoading", {{"frameId", "top"}});
  EXPECT_TRUE(load.loadingDocument());
  EXPECT_EQ(Count(Event("Page.frameStoppedLoading", {{"frameId", "top"}}), Change::Completed), 0);
  EXPECT_FALSE(load.loadingDocument());
  // A page kept whole from before comes back complete as it commits.
  const auto restored = Event(
      "Page.frameNavigated", {{"frame", {{"id", "top"}, {"loaderId", "L-c"}, {"url", "http://c/"}}},
                              {"type", "BackForwardCacheRestore"}});
  EXPECT_EQ(Count(restored, Change::Completed), 1);
  // A failed load commits its error page for the address.
  const auto failed = Event("Page.frameNavigated", {{"frame",
                                                     {{"id", "top"},
                                                      {"url", "chrome-error://chromewebdata/"},
                                                      {"unreachableUrl", "http://d/"}}}});
  ASSERT_EQ(Count(failed, Change::Committed), 1);
  EXPECT_TRUE(failed[0].failed);
  EXPECT_EQ(load.committedUrl(), "http://d/");
}

TEST_F(PageLoadTest, ChildDocumentsKeepThePageBusyForABoundedStretch) {
  LoadUntilParsed("http://a/");
  Event("Page.frameAttached", {{"frameId", "child"}, {"parentFrameId", "top"}});
  Event("Page.frameStartedLoading", {{"frameId", "child"}});
  // Parsed, waiting only for its frame: loaded, though busy for a while.
  EXPECT_FALSE(load.loadingDocument());
  EXPECT_TRUE(load.busy(now));
  // A child that stops and starts again continues the stretch; so does a commit of its own,
  // which completes as a child's.
  now += 1s;
  Event("Page.frameStoppedLoading", {{"frameId", "child"}});
  Event("Page.frameStartedLoading", {{"frameId", "child"}});
  const auto child = Commit("child", "http://a/frame", "top");
  EXPECT_EQ(Count(child, Change::Committed), 0);
  EXPECT_TRUE(load.busy(now));
  now += 600ms;
  EXPECT_FALSE(load.busy(now));
  const auto stopped = Event("Page.frameStoppedLoading", {{"frameId", "child"}});
  ASSERT_EQ(Count(stopped, Change::Completed), 1);
  EXPECT_FALSE(stopped[0].top);
  // After a quiet pause as long as the limit, a new stretch begins.
  now += PageLoad::kChildBusyLimit;
  Event("Page.frameStartedLoading", {{"frameId", "child"}});
  EXPECT_TRUE(load.busy(now));
  // Without frames loading, a parsed document is loading again until its own load event.
  Event("Page.frameDetached", {{"frameId", "child"}});
  EXPECT_TRUE(load.loadingDocument());
  Event("Page.loadEventFired");
  EXPECT_FALSE(load.busy(now));
}

TEST_F(PageLoadTest, ACompletionCountsAsLoadingUntilItsHandlerHasRun) {
  LoadUntilParsed("http://a/");
  const auto loaded = Event("Page.loadEventFired");
  ASSERT_EQ(loaded.size(), 1u);
  EXPECT_FALSE(load.loadingDocument());
  EXPECT_FALSE(load.loaded());
  load.completionHandled(loaded[0].completion);
  EXPECT_TRUE(load.loaded());
  // A new browser's completions go on from the numbers already told: a late handler of the old
  // one's does not pass for the new one's.
  LoadUntilParsed("http://b/");
  const auto old = Event("Page.loadEventFired")[0].completion;
  load.forget();
  LoadUntilParsed("http://c/");
  const auto fresh = Event("Page.loadEventFired")[0].completion;
  EXPECT_GT(fresh, old);
  load.completionHandled(old);
  EXPECT_TRUE(load.completionUnhandled());
  load.completionHandled(fresh + 100);
  EXPECT_FALSE(load.completionUnhandled());
}

TEST_F(PageLoadTest, EventsOfAnyShapeAreReadSafely) {
  // Fields of the wrong type read as absent; a commit without a frame is no event.
  EXPECT_FALSE(ParseLoadEvent("Page.frameNavigated", {{"frame", "top"}}));
  EXPECT_FALSE(ParseLoadEvent("Page.frameNavigated", {{"frame", {{"id", 7}}}}));
  EXPECT_FALSE(ParseLoadEvent("Page.somethingElse", Json::object()));
  const auto started = ParseLoadEvent("Page.frameStartedLoading", {{"frameId", Json::array()}});
  ASSERT_TRUE(started);
  EXPECT_TRUE(load.handle(*started, now).empty());
  EXPECT_FALSE(load.loadingDocument());
  // A move within the document of a frame never seen changes nothing.
  EXPECT_TRUE(
      Event("Page.navigatedWithinDocument", {{"frameId", "x"}, {"url", "http://x/#a"}}).empty());
}

}  // namespace
}  // namespace Brovis::Engine
