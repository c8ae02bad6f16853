// The page functions' answers decoded, and answers of any other shape refused as a whole.
#include "browser/engine/chromium/page/page_answers.h"

#include <gtest/gtest.h>

namespace Brovis::Engine {
namespace {

using namespace nlohmann::literals;

// Texts as the test's messages can print them; "none" for none.
std::string S(const std::optional<BrowserText>& text) {
  return text ? std::string(AsUtf8Bytes(*text)) : "none";
}

TEST(PageAnswers, FactsShareTheirKindsAndMarkWhatIsShownAndWithinReach) {
  const auto facts = DecodeFacts(
      R"([[["DIV", null], ["A", null], ["INPUT", "hidden"], ["INPUT", null]], [0, 7, 4, 8, 15, 12, 5]])"_json,
      7);
  ASSERT_TRUE(facts);
  ASSERT_EQ(facts->size(), 7u);
  // Whether shown, and whether within reach, for each position.
  std::string marks;
  for (const auto& f : *facts)
    marks += std::string(f.shown ? "s" : "-") + (f.reachable ? "r " : "- ");
  EXPECT_EQ(marks, "-- sr -- -- sr -- s- ");
  EXPECT_EQ(S((*facts)[0].tagName), "DIV");
  EXPECT_EQ(S((*facts)[1].tagName), "A");
  EXPECT_EQ(S((*facts)[3].type), "hidden");
  EXPECT_EQ(S((*facts)[4].type), "none");
  EXPECT_EQ(S((*facts)[5].tagName), "INPUT");
  EXPECT_EQ(S((*facts)[6].tagName), "A");
  EXPECT_EQ(DecodeFacts(R"([[], []])"_json, 0)->size(), 0u);
}

TEST(PageAnswers, PositionsPassedOverInsideWhatIsNotShownComeAsRuns) {
  const auto facts = DecodeFacts(R"([[["DIV", null], ["A", null]], [0, -3, 7, -1]])"_json, 6);
  ASSERT_TRUE(facts);
  ASSERT_EQ(facts->size(), 6u);
  for (int i : {1, 2, 3, 5}) {
    EXPECT_EQ(S((*facts)[i].tagName), "") << i;
    EXPECT_FALSE((*facts)[i].shown) << i;
  }
  EXPECT_TRUE((*facts)[4].shown);
  EXPECT_TRUE((*facts)[4].reachable);
  // Never more positions than were asked for, however the answer counts them.
  EXPECT_FALSE(DecodeFacts(R"([[["DIV", null]], [0, -3, 0]])"_json, 4));
  EXPECT_FALSE(DecodeFacts(R"([[["DIV", null]], [-9223372036854775808]])"_json, 100));
  EXPECT_FALSE(DecodeFacts(R"([[["DIV", null]], [0, 0]])"_json, 1));
}

TEST(PageAnswers, FactsOfAnyOtherShapeAreRefused) {
  for (const char* answer : {R"([[["A", null]], [4]])",          // a kind that is not in the table
                             R"([[["A", null]], [1.5]])",        // nor part of one
                             R"([[["A", null]], ["1"]])",        //
                             R"([[["A", null]], [2]])",          // within reach, yet not shown
                             R"([[["A"]], [0]])",                // a kind without its type
                             R"([[["A", 7]], [0]])",             // a type that is not text
                             R"([[[1, null]], [0]])",            // a tag that is not text
                             R"([[], [0]])",                     //
                             R"([[["A", null]], [0], 1])",       //
                             R"({"kinds": [], "entries": []})",  //
                             R"("[[], []]")",  // the answer as text, to be read again
                             "null"}) {
    EXPECT_FALSE(DecodeFacts(Json::parse(answer), 10)) << answer;
  }
  EXPECT_FALSE(DecodeFacts(std::nullopt, 10));
}

TEST(PageAnswers, ScrollMetricsTruncateTowardZeroWithinThirtyTwoBits) {
  const auto scroll = DecodeScroll(R"([[900.9, 300, 120.5, -0.5], [950, 1e12, null, -1e12]])"_json);
  ASSERT_TRUE(scroll);
  EXPECT_EQ(scroll->root.scrollHeight, 900);
  EXPECT_EQ(scroll->root.scrollWidth, 300);
  EXPECT_EQ(scroll->root.scrollTop, 120);
  EXPECT_EQ(scroll->root.scrollLeft, 0);
  EXPECT_EQ(scroll->body.scrollHeight, 950);
  EXPECT_EQ(scroll->body.scrollWidth, 2147483647);
  EXPECT_EQ(scroll->body.scrollTop, 0);
  EXPECT_EQ(scroll->body.scrollLeft, -2147483647 - 1);
  EXPECT_FALSE(DecodeScroll(R"([[1, 2, 3, 4]])"_json));
  EXPECT_FALSE(DecodeScroll(R"([[1, 2, 3], [1, 2, 3, 4]])"_json));
  EXPECT_FALSE(DecodeScroll("null"_json));

  const Json before = R"([[1, 2, 3, 4], [5, 6, 7, 8]])"_json;
  const auto unchanged = DecodeWrittenScroll(Json::array({before, false}));
  ASSERT_TRUE(unchanged);
  EXPECT_FALSE(unchanged->changed);
  EXPECT_EQ(unchanged->before.body.scrollLeft, 8);
  // Only a plain "no" says that nothing changed.
  EXPECT_TRUE(DecodeWrittenScroll(Json::array({before, true}))->changed);
  EXPECT_TRUE(DecodeWrittenScroll(Json::array({before, nullptr}))->changed);
  EXPECT_FALSE(DecodeWrittenScroll(Json::array({nullptr, false})));
}

TEST(PageAnswers, SingleValuesOnlyOfTheirOwnType) {
  EXPECT_EQ(S(DecodeText(R"("\u00e9t\u00e9")"_json)), "\u00e9t\u00e9");
  EXPECT_EQ(S(DecodeText("7"_json)), "none");
  EXPECT_EQ(S(DecodeText("null"_json)), "none");
  EXPECT_EQ(DecodeInt32("-1.7"_json), -1);
  EXPECT_EQ(DecodeInt32("2.9"_json), 2);
  EXPECT_FALSE(DecodeInt32(R"("2")"_json));
  EXPECT_TRUE(DecodeTrue("true"_json));
  for (const char* no : {"false", "1", R"("true")", "null"})
    EXPECT_FALSE(DecodeTrue(Json::parse(no))) << no;
  EXPECT_FALSE(DecodeTrue(std::nullopt));
}

}  // namespace
}  // namespace Brovis::Engine
