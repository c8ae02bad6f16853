// Any bytes as host text in one of the code pages the simulator runs with (the first byte picks
// it): the browser text is valid UTF-8, one character for every byte of a single-byte code page,
// never fewer than a multi-byte code page's shortest characters allow and never more than one a
// byte, and valid UTF-8 passes unchanged through code page 65001.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "bridge/host_text.h"
#include "platform/win32/code_page.h"

namespace {

void Check(bool holds) {
  if (!holds) std::abort();
}

// The number of characters in `text`, or none when it is not valid UTF-8 (overlong forms,
// surrogates and code points above U+10FFFF included).
std::optional<std::size_t> Utf8Length(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
      length = 1;
      c = lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      c = lead & 0x07;
    } else {
      return std::nullopt;
    }
    if (i + length > text.size()) return std::nullopt;
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      c = (c << 6) | (next & 0x3F);
    }
    constexpr std::array<char32_t, 5> kSmallest = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return std::nullopt;
    i += length;
  }
  return count;
}

struct CodePage {
  UINT id;
  std::size_t longestCharacter;  // in bytes
};
constexpr std::array<CodePage, 4> kCodePages = {{{1252, 1}, {1251, 1}, {932, 2}, {65001, 4}}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const CodePage page = kCodePages[data[0] % kCodePages.size()];
  // Host text ends at its first zero byte.
  const std::string host(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string_view bytes(host.c_str());
  Win32::SetAnsiCodePage(page.id);
  const Brovis::BrowserText out = Brovis::ToBrowserText(Brovis::HostText(host.c_str()));
  const std::string_view utf8 = Brovis::AsUtf8Bytes(out);

  const auto characters = Utf8Length(utf8);
  Check(characters.has_value());
  Check(*characters <= bytes.size());
  Check(*characters * page.longestCharacter >= bytes.size());
  if (page.longestCharacter == 1) Check(*characters == bytes.size());
  if (page.id == 65001 && Utf8Length(bytes)) Check(utf8 == bytes);
  return 0;
}
