// Host text in the host's ANSI code page, decoded into the browser's Unicode text.
#include "bridge/host_text.h"

#include <gtest/gtest.h>

#include "platform/win32/code_page.h"

namespace Brovis {
namespace {

std::string S(BrowserTextView text) { return std::string(AsUtf8Bytes(text)); }

class HostTextTest : public ::testing::Test {
 protected:
  void TearDown() override { Win32::SetAnsiCodePage(Win32::kDefaultAnsiCodePage); }
  // As bytes, which the test framework can print.
  static std::string Decode(const char* text) {
    return std::string(AsUtf8Bytes(ToBrowserText(HostText(text))));
  }
};

TEST_F(HostTextTest, WesternCodePageByDefault) {
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_EQ(Decode("http://example.test/caf\xE9"), S(u8"http://example.test/café"));
  // Bytes where Windows-1252 differs from Latin-1.
  EXPECT_EQ(Decode("\x80 \x93quoted\x94 \x9F"), S(u8"€ “quoted” Ÿ"));
  EXPECT_EQ(Decode(""), S(u8""));
  EXPECT_EQ(Decode(nullptr), S(u8""));
}

TEST_F(HostTextTest, TheHostsCodePageDecides) {
  Win32::SetAnsiCodePage(1251);
  EXPECT_EQ(Decode("\xE6\xF3\xEA"), S(u8"жук"));
  Win32::SetAnsiCodePage(932);
  EXPECT_EQ(Decode("\x93\xFA\x96\x7B"), S(u8"日本"));
  Win32::SetAnsiCodePage(65001);
  EXPECT_EQ(Decode("caf\xC3\xA9"), S(u8"café"));
}

TEST_F(HostTextTest, InvalidBytesBecomeReplacementCharactersAndDecodingGoesOn) {
  // 0x81 and 0x8D are not characters of Windows-1252.
  EXPECT_EQ(Decode("a\x81"
                   "b\x8D\x81"
                   "c"),
            S(u8"a\uFFFDb\uFFFD\uFFFDc"));
  Win32::SetAnsiCodePage(65001);
  EXPECT_EQ(Decode("x\xC3(y\xE2\x82"), S(u8"x\uFFFD(y\uFFFD\uFFFD"));
  // Above U+10FFFF, in four bytes and in the old five-byte form: not Unicode.
  EXPECT_EQ(Decode("\xF4\x90\x80\x80!\xF8\x88\x80\x80\x80"),
            S(u8"\uFFFD\uFFFD\uFFFD\uFFFD!\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"));
  Win32::SetAnsiCodePage(932);
  EXPECT_EQ(Decode("\x93\xFA\x93"), S(u8"日\uFFFD")) << "a lead byte cut short by the end";
}

TEST_F(HostTextTest, LongTextIsNeverTruncated) {
  std::string host;
  BrowserText expected;
  for (int i = 0; i < 2000; ++i) {
    host += i % 7 == 0 ? "\xE9" : i % 11 == 0 ? "\x81" : "q";
    expected += i % 7 == 0 ? u8"é" : i % 11 == 0 ? u8"\uFFFD" : u8"q";
  }
  EXPECT_EQ(Decode(host.c_str()), S(expected));
}

TEST_F(HostTextTest, AnUnknownCodePageStillPassesAscii) {
  Win32::SetAnsiCodePage(4242);
  EXPECT_EQ(Decode("http://x/\xE9"), S(u8"http://x/\uFFFD"));
}

}  // namespace
}  // namespace Brovis
