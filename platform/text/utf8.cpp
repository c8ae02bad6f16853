#include "platform/text/utf8.h"

namespace Text {

std::size_t Utf8CharacterLength(std::string_view s) {
  if (s.empty()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  // The second byte's range: narrower after some leads, which rules out overlong forms,
  // surrogates and code points above U+10FFFF.
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (s.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i)
    if ((byte(i) & 0xC0) != 0x80) return 0;
  return length;
}

std::string ReplaceInvalidUtf8(std::string_view s, std::string_view replacement) {
  std::string out;
  while (!s.empty()) {
    const std::size_t length = Utf8CharacterLength(s);
    out.append(length ? s.substr(0, length) : replacement);
    s.remove_prefix(length ? length : 1);
  }
  return out;
}

std::u32string DecodeUtf8(std::string_view s) {
  std::u32string out;
  while (!s.empty()) {
    const std::size_t length = Utf8CharacterLength(s);
    if (length) {
      // The lead byte keeps 7, 5, 4 or 3 bits; each continuation byte adds 6.
      constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
      char32_t c = static_cast<unsigned char>(s[0]) & kLeadBits[length];
      for (std::size_t i = 1; i < length; ++i) c = (c << 6) | (s[i] & 0x3F);
      out.push_back(c);
    }
    s.remove_prefix(length ? length : 1);
  }
  return out;
}

std::string EncodeUtf8(std::u32string_view text) {
  std::string out;
  for (char32_t c : text) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (c >> 18)));
      out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

}  // namespace Text
