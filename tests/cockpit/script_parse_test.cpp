// The script language: what each line means, and the reasons given for lines that mean nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cockpit/options.h"
#include "cockpit/script.h"

namespace Cockpit {
namespace {

using ::testing::HasSubstr;

Command Parse(std::string_view line) {
  const auto command = ParseLine(line);
  EXPECT_TRUE(command.has_value()) << line;
  return command.value_or(Command{});
}

std::string ErrorOf(std::string_view line) {
  try {
    ParseLine(line);
  } catch (const ScriptError& e) {
    return e.what();
  }
  return "no error";
}

TEST(ScriptParse, BlankLinesAndCommentsAreSkipped) {
  EXPECT_FALSE(ParseLine(""));
  EXPECT_FALSE(ParseLine("   \t\r"));
  EXPECT_FALSE(ParseLine("# open 2 10x10"));
  EXPECT_FALSE(ParseLine("   # indented comment"));
}

TEST(ScriptParse, DisplayCommands) {
  const Command open = Parse("open 8 640x480");
  EXPECT_EQ(open.op, Op::Open);
  EXPECT_EQ(open.display, 8);
  EXPECT_EQ(open.width, 640);
  EXPECT_EQ(open.height, 480);
  EXPECT_EQ(Parse("close 1").op, Op::Close);
  EXPECT_EQ(Parse("select 3").display, 3);
  EXPECT_EQ(Parse("  select 3  \r").display, 3);

  EXPECT_THAT(ErrorOf("open 9 10x10"), HasSubstr("display must be 1 to 8"));
  EXPECT_THAT(ErrorOf("close 0"), HasSubstr("display must be 1 to 8"));
  EXPECT_THAT(ErrorOf("select two"), HasSubstr("'two'"));
  EXPECT_THAT(ErrorOf("open 2 10x0"), HasSubstr("size must be WxH"));
  EXPECT_THAT(ErrorOf("open 2 65536x10"), HasSubstr("size must be WxH"));
  EXPECT_THAT(ErrorOf("open 2 10 10"), HasSubstr("too many arguments"));
  EXPECT_THAT(ErrorOf("open 2"), HasSubstr("missing argument"));
}

TEST(ScriptParse, ButtonsTakeAnyIntegerAndALeftPressByDefault) {
  const Command press = Parse("button 5");
  EXPECT_EQ(press.op, Op::Button);
  EXPECT_EQ(press.button, 5);
  EXPECT_EQ(press.event, 1);
  const Command other = Parse("button -3 2");
  EXPECT_EQ(other.button, -3);
  EXPECT_EQ(other.event, 2);
  EXPECT_THAT(ErrorOf("button x"), HasSubstr("button must be an integer"));
  EXPECT_THAT(ErrorOf("button 1 2 3"), HasSubstr("too many arguments"));
}

TEST(ScriptParse, KeysByNameOrScanCode) {
  const std::pair<const char*, DWORD> names[] = {
      {"period", 52}, {"comma", 51}, {"c", 46},   {"i", 23},     {"a", 30},     {"u", 22},
      {"b", 48},      {"f", 33},     {"up", 200}, {"down", 208}, {"left", 203}, {"right", 205}};
  for (const auto& [name, code] : names) EXPECT_EQ(Parse(std::string("key ") + name).key, code);
  EXPECT_EQ(Parse("key 57").key, 57u);
  EXPECT_THAT(ErrorOf("key warp"), HasSubstr("unknown key 'warp'"));
  EXPECT_THAT(ErrorOf("key -1"), HasSubstr("unknown key"));
}

TEST(ScriptParse, TextIsTheRestOfTheLine) {
  // Blanks beyond the one after the name are typed too.
  EXPECT_EQ(Parse("type  two  words ").text, " two  words ");
  EXPECT_EQ(Parse("type a\r").text, "a");
  EXPECT_EQ(Parse("type").text, "");
  EXPECT_EQ(Parse("type café").text, "café");
  const Command url = Parse("url file:///tmp/a b.html");
  EXPECT_EQ(url.op, Op::Url);
  EXPECT_EQ(url.text, "file:///tmp/a b.html");
  EXPECT_THAT(ErrorOf("url"), HasSubstr("missing address"));
}

TEST(ScriptParse, TimingAndOutput) {
  EXPECT_EQ(Parse("wait 250").milliseconds, 250);
  EXPECT_EQ(Parse("settle").milliseconds, kDefaultSettleLimit);
  EXPECT_EQ(Parse("settle 500").milliseconds, 500);
  EXPECT_EQ(Parse("loaded 700").op, Op::Loaded);
  EXPECT_EQ(Parse("loaded").milliseconds, kDefaultSettleLimit);
  EXPECT_EQ(Parse("snap shots/a.png").text, "shots/a.png");
  EXPECT_EQ(Parse("labels").op, Op::Labels);
  EXPECT_EQ(Parse("menu").op, Op::Menu);
  EXPECT_EQ(Parse("cancel").op, Op::Cancel);
  EXPECT_THAT(ErrorOf("wait -5"), HasSubstr("milliseconds"));
  EXPECT_THAT(ErrorOf("wait"), HasSubstr("missing argument"));
  EXPECT_THAT(ErrorOf("snap"), HasSubstr("missing argument"));
  EXPECT_THAT(ErrorOf("menu 2"), HasSubstr("too many arguments"));
  EXPECT_THAT(ErrorOf("fly 3"), HasSubstr("unknown command 'fly'"));
}

TEST(CommandLine, DefaultsAndEveryOption) {
  const Options defaults = ParseOptions({});
  EXPECT_EQ(defaults.width, 256);
  EXPECT_EQ(defaults.height, 256);
  EXPECT_EQ(defaults.refreshMilliseconds, 100);
  EXPECT_FALSE(defaults.script);
  EXPECT_FALSE(defaults.offline);

  const Options all = ParseOptions({"--module", "/m.so", "--size", "320x200", "--refresh", "40",
                                    "--out", "shots", "--offline", "-"});
  EXPECT_EQ(all.module, "/m.so");
  EXPECT_EQ(all.width, 320);
  EXPECT_EQ(all.height, 200);
  EXPECT_EQ(all.refreshMilliseconds, 40);
  EXPECT_EQ(all.outDir, "shots");
  EXPECT_TRUE(all.offline);
  EXPECT_EQ(all.script, "-");

  EXPECT_THROW(ParseOptions({"--size", "big"}), UsageError);
  EXPECT_THROW(ParseOptions({"--refresh", "0"}), UsageError);
  EXPECT_THROW(ParseOptions({"--out"}), UsageError);
  EXPECT_THROW(ParseOptions({"--fast"}), UsageError);
  EXPECT_THROW(ParseOptions({"a", "b"}), UsageError);
}

}  // namespace
}  // namespace Cockpit
