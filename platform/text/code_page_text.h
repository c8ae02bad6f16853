#pragma once
// Text in a Windows code page (the host's narrow text) converted to and from UTF-8, through
// iconv, with one table of the code pages and the character sets iconv knows them by. Nothing is
// ever cut short: what cannot be converted is replaced, and conversion goes on after it.
#include <string>
#include <string_view>

namespace Text {

constexpr unsigned kUtf8CodePage = 65001;

// A byte that forms no character of the code page becomes U+FFFD. Without a converter for the
// code page, ASCII still passes and every other byte is replaced.
std::string CodePageToUtf8(std::string_view text, unsigned codePage);
// A character the code page lacks, and a byte that forms no UTF-8 character, become '?', as the
// system's own conversion does. Without a converter, ASCII still passes.
std::string Utf8ToCodePage(std::string_view utf8, unsigned codePage);

}  // namespace Text
