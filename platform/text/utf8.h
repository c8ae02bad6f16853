#pragma once
// UTF-8 as Unicode defines it: well-formed characters only, so that an overlong form, a
// surrogate or a value past U+10FFFF is never taken for text.
#include <string>
#include <string_view>

namespace Text {

// The length in bytes of the well-formed character at the start of `s`, 0 when none starts there.
std::size_t Utf8CharacterLength(std::string_view s);
// `s` with every byte that starts no well-formed character replaced by `replacement`.
std::string ReplaceInvalidUtf8(std::string_view s, std::string_view replacement);
// The characters of `s`; bytes that form none are dropped.
std::u32string DecodeUtf8(std::string_view s);
std::string EncodeUtf8(std::u32string_view text);

}  // namespace Text
