#include "browser/engine/chromium/navigation/failed_load_notice.h"

namespace Brovis::Engine {

namespace {

constexpr std::string_view kNoReason = "The browser gave no reason.";

// Nothing the notice holds may load or run: the policy comes first, before any text.
constexpr std::string_view kHead =
    "<!DOCTYPE html><html><head><meta charset=\"utf-8\">"
    "<meta http-equiv=\"Content-Security-Policy\" "
    "content=\"default-src 'none'; style-src 'unsafe-inline'\">"
    "<title>Page not loaded</title><style>"
    "html{background:#fff;color:#111;font:16px/1.3 sans-serif}"
    "body{margin:10px}"
    "h1{font-size:20px;margin:0 0 8px}"
    "p{margin:0 0 8px;overflow-wrap:anywhere}"
    "</style></head><body><h1>Page not loaded</h1><p>";

// `text` up to `limit` bytes, cut before a character that does not fit whole.
std::string_view Cut(std::string_view text, std::size_t limit, bool& cut) {
  cut = text.size() > limit;
  if (!cut) return text;
  std::size_t end = limit;
  // A byte 10xxxxxx continues the character before it.
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

// Escaped, and with a line break allowed after each of `breaks`.
void AppendEscaped(std::string& out, std::string_view text, std::size_t limit,
                   std::string_view breaks = {}) {
  bool cut = false;
  for (const char c : Cut(text, limit, cut)) {
    if (c == '&') {
      out += "&amp;";
    } else if (c == '<') {
      out += "&lt;";
    } else if (c == '>') {
      out += "&gt;";
    } else if (c == '"') {
      out += "&quot;";
    } else if (c == '\'') {
      out += "&#39;";
    } else {
      out += c;
    }
    if (breaks.find(c) != std::string_view::npos) out += "<wbr>";
  }
  if (cut) out += "\u2026";
}

}  // namespace

std::string FailedLoadNotice(std::string_view address, std::string_view reason) {
  std::string html(kHead);
  AppendEscaped(html, address, kNoticeAddressLimit);
  html += "</p><p>";
  // A reason such as net::ERR_NAME_NOT_RESOLVED is one long word: it wraps at its parts.
  AppendEscaped(html, reason.empty() ? kNoReason : reason, kNoticeReasonLimit, "_");
  html += "</p></body></html>";
  return html;
}

}  // namespace Brovis::Engine
