// The notice shown for a failed load: what the browser sends is cut and escaped before it
// becomes part of the document.
#include "browser/engine/chromium/navigation/failed_load_notice.h"

#include <gtest/gtest.h>

#include <string>

namespace Brovis::Engine {
namespace {

TEST(FailedLoadNotice, ShowsTheTextsEscapedAfterItsPolicy) {
  const std::string html =
      FailedLoadNotice("http://a/<script>x()</script>?q=\"1\"&r='2'", "net::ERR_<b>REFUSED</b>");
  EXPECT_NE(
      html.find("http://a/&lt;script&gt;x()&lt;/script&gt;?q=&quot;1&quot;&amp;r=&#39;2&#39;"),
      std::string::npos);
  EXPECT_NE(html.find("net::ERR_<wbr>&lt;b&gt;REFUSED&lt;/b&gt;"), std::string::npos);
  EXPECT_EQ(html.find("<script"), std::string::npos);
  EXPECT_EQ(html.find("<b>"), std::string::npos);
  const auto policy = html.find("Content-Security-Policy");
  ASSERT_NE(policy, std::string::npos);
  EXPECT_LT(policy, html.find("http://a/"));
  EXPECT_NE(html.find("default-src 'none'"), std::string::npos);

  EXPECT_NE(FailedLoadNotice("http://a/", "").find("The browser gave no reason."),
            std::string::npos);
}

TEST(FailedLoadNotice, CutsLongTextsBeforeACharacterThatDoesNotFit) {
  const std::string ellipsis = "\u2026";
  // Exactly at the limit: whole.
  const std::string fits(kNoticeAddressLimit, 'a');
  EXPECT_NE(FailedLoadNotice(fits, "r").find("<p>" + fits + "</p>"), std::string::npos);
  // Far beyond it: cut at the limit.
  const std::string html = FailedLoadNotice(std::string(100000, 'a'), "r");
  EXPECT_NE(html.find("<p>" + fits + ellipsis + "</p>"), std::string::npos);
  EXPECT_LT(html.size(), 2000u);

  // Two-byte characters from an odd start: the one that would end past the limit goes whole.
  std::string wide = "a";
  for (int i = 0; i < 200; ++i) wide += "\u00e9";
  std::string kept = "a";
  for (std::size_t i = 0; i < (kNoticeAddressLimit - 1) / 2; ++i) kept += "\u00e9";
  EXPECT_NE(FailedLoadNotice(wide, "r").find("<p>" + kept + ellipsis + "</p>"), std::string::npos);

  // An escaped character counts once: the limit is on what the browser sent.
  const std::string reason(kNoticeReasonLimit, '&');
  const std::string shown = FailedLoadNotice("a", reason + "&");
  std::string escaped;
  for (std::size_t i = 0; i < kNoticeReasonLimit; ++i) escaped += "&amp;";
  EXPECT_NE(shown.find("<p>" + escaped + ellipsis + "</p>"), std::string::npos);
}

}  // namespace
}  // namespace Brovis::Engine
