// Which history entries the page added on its own, and where Back and Forward land over them,
// in the orders the browser reports loads, commits and listings.
#include "browser/engine/chromium/navigation/page_added_entries.h"

#include <gtest/gtest.h>

#include <vector>

namespace Brovis::Engine {
namespace {

using namespace std::chrono_literals;

class PageAddedEntriesTest : public ::testing::Test {
 protected:
  // The pilot's own load of a new entry `id`, committed and listed.
  void PilotLoads(const std::string& loader, int id) {
    entries.navigationStarted(loader, true, now);
    now += 10ms;
    Commit(loader, id);
    List(id, true);
  }
  // The load of `loader` commits the entry `id`.
  void Commit(const std::string& loader, int id) {
    entries.navigationCommitted(loader, "/" + std::to_string(id));
  }
  // A new entry `id` appended and listed as current; `sent` when a load of the module's made it.
  void List(int id, bool sent = false) {
    ids.push_back(id);
    if (sent) sentLoads.push_back(id);
    Relist(static_cast<int>(ids.size()) - 1, now += 5ms);
  }
  // The history as it stands listed, with `current` the current entry's index.
  void Relist(int current, PageAddedEntries::Clock::time_point at) {
    PageAddedEntries::Listing listing{ids, {}, current, 1, sentLoads};
    for (int id : ids) listing.urls.push_back("/" + std::to_string(id));
    entries.listed(listing, at);
  }
  std::optional<int> Back() const { return Step(-1); }
  std::optional<int> Forward() const { return Step(+1); }
  std::optional<int> Step(int delta) const {
    const auto target = entries.stepTarget(ids, current(), delta, 1);
    if (!target) return std::nullopt;
    return ids[*target];
  }
  int current() const { return currentIndex < 0 ? static_cast<int>(ids.size()) - 1 : currentIndex; }

  PageAddedEntries entries;
  PageAddedEntries::Clock::time_point now = PageAddedEntries::Clock::time_point{} + 1h;
  std::vector<int> ids{1};  // the browser's blank start page, listed with the first load
  std::vector<int> sentLoads;
  int currentIndex = -1;
};

TEST_F(PageAddedEntriesTest, OneStepLeavesAPageThatAddsEntriesOnItsOwn) {
  PilotLoads("S", 2);
  // The trap's load commits; the listing comes late, with entries the trap has added since.
  entries.navigationStarted("T", true, now);
  Commit("T", 3);
  ids.insert(ids.end(), {3, 4, 5});
  sentLoads.push_back(3);
  Relist(4, now += 3s);
  for (int id = 6; id < 30; ++id) {
    now += 50ms;
    List(id);  // pushState, again and again
  }
  EXPECT_FALSE(entries.pageAdded(3));
  EXPECT_TRUE(entries.pageAdded(4));
  EXPECT_TRUE(entries.pageAdded(29));
  // A click of the pilot's on the trap takes none of its entries for the click's own.
  entries.pilotActed(now += 10ms);
  for (int id = 30; id < 40; ++id) {
    now += 20ms;
    List(id);
  }
  // Over every entry it added, and the entry it added them from.
  EXPECT_EQ(Back(), 2);
  // Forward from there lands on the last of them; the blank page is never a step.
  currentIndex = 1;
  EXPECT_EQ(Forward(), 39);
  currentIndex = -1;
  ids = {1, 2};
  EXPECT_EQ(Back(), std::nullopt);

  // Loads the page starts by itself are stepped over the same way.
  ids = {1, 2, 3};
  Relist(2, now += 1s);
  for (const std::string loader : {"R1", "R2", "R3"}) {
    entries.navigationStarted(loader, false, now += 100ms);
    now += 10ms;
    const int id = static_cast<int>(ids.size()) + 100;
    Commit(loader, id);
    List(id);
  }
  EXPECT_EQ(Back(), 2);
  // A full history drops the entry they were added from first: one step still lands before them.
  ids.erase(ids.begin() + 2);
  Relist(static_cast<int>(ids.size()) - 1, now += 20ms);
  EXPECT_EQ(Back(), 2);
  // Also when the listing comes so late that every entry listed after it was dropped too.
  ids = {1, 2, 201, 202, 203};
  Relist(4, now += 3s);
  EXPECT_EQ(Back(), 2);
}

TEST_F(PageAddedEntriesTest, ALoadOfTheModulesListedBeforeItsCommitLeavesNoClaimBehind) {
  PilotLoads("S", 2);
  // The listing asked before the trap's commit was told already holds its entry and the first
  // the trap added.
  entries.navigationStarted("T", true, now);
  ids.insert(ids.end(), {3, 4});
  sentLoads.push_back(3);
  Relist(2, now += 20ms);
  Commit("T", 3);
  for (int id = 5; id < 10; ++id) List(id);
  EXPECT_FALSE(entries.pageAdded(3));
  EXPECT_TRUE(entries.pageAdded(5));
  EXPECT_EQ(Back(), 2);
  // A step back to an entry and forward again makes no entry, and the trap's next ones stay its
  // own.
  entries.navigationStarted("H", true, now += 1s);
  Commit("H", 2);
  List(10);
  EXPECT_TRUE(entries.pageAdded(10));
}

TEST_F(PageAddedEntriesTest, WhatThePageAddsForAPilotsCommandIsThatCommandsStep) {
  PilotLoads("A", 2);
  // A click that changes the route a little after it acted: a step of its own.
  entries.pilotActed(now += 1s);
  now += 200ms;
  List(3);
  EXPECT_FALSE(entries.pageAdded(3));
  EXPECT_EQ(Back(), 2);
  // One entry per command: the next one the page adds is its own.
  now += 100ms;
  List(4);
  EXPECT_TRUE(entries.pageAdded(4));

  // The page pushed while the click ran, and it was listed before the click returned.
  now += 5s;
  List(5);
  entries.pilotActed(now += 30ms);
  EXPECT_FALSE(entries.pageAdded(5));
  // Long after any command, what the page adds is its own.
  now += 5s;
  List(6);
  EXPECT_TRUE(entries.pageAdded(6));

  // A link the pilot clicked starts its load while the click runs, and commits later.
  entries.navigationStarted("L", false, now += 5s);
  entries.pilotActed(now += 20ms);
  now += 2s;
  Commit("L", 7);
  List(7);
  EXPECT_FALSE(entries.pageAdded(7));

  // An entry that replaces the current one keeps its owner.
  ids.back() = 8;
  Relist(static_cast<int>(ids.size()) - 1, now += 5s);
  EXPECT_FALSE(entries.pageAdded(8));
  now += 5s;
  List(9);
  ids.back() = 10;
  Relist(static_cast<int>(ids.size()) - 1, now += 5s);
  EXPECT_TRUE(entries.pageAdded(10));
  // Its listing can come before its commit is told: the entry is still the link's, and what the
  // page adds next is the page's.
  entries.navigationStarted("M", false, now += 5s);
  entries.pilotActed(now += 20ms);
  List(70);
  Commit("M", 70);
  EXPECT_FALSE(entries.pageAdded(70));
  now += 5s;
  List(71);
  EXPECT_TRUE(entries.pageAdded(71));
}

}  // namespace
}  // namespace Brovis::Engine
