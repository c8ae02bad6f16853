#include "platform/text/code_page_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "platform/text/utf8.h"

namespace Text {

namespace {

constexpr char kReplacementCharacter[] = "\xEF\xBF\xBD";  // U+FFFD

// The character set iconv knows a Windows code page by.
std::string CharacterSet(unsigned codePage) {
  switch (codePage) {
    case kUtf8CodePage:
      return "UTF-8";
    case 20127:
      return "ASCII";
    case 20866:
      return "KOI8-R";
    case 21866:
      return "KOI8-U";
  }
  if (codePage >= 28591 && codePage <= 28606) return "ISO-8859-" + std::to_string(codePage - 28590);
  return "CP" + std::to_string(codePage);
}

// How many bytes at the start of a text that failed to convert are passed over: one, or the
// whole of a UTF-8 character.
using Skip = std::size_t (*)(std::string_view rest);
std::size_t OneByte(std::string_view) { return 1; }
std::size_t OneCharacter(std::string_view rest) {
  return std::max<std::size_t>(Utf8CharacterLength(rest), 1);
}

struct IconvCloser {
  void operator()(void* cd) const {
    if (cd != reinterpret_cast<void*>(-1)) iconv_close(static_cast<iconv_t>(cd));
  }
};

// Converts `in` from one character set to another, or, when iconv knows no converter, from or to
// ASCII instead, so that ASCII still passes. At a sequence it cannot convert, appends
// `replacement`, skips what `skip` says and goes on in the initial shift state.
std::string Convert(std::string_view in, const std::string& from, const std::string& to,
                    std::string_view replacement, Skip skip) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1))
    cd = iconv_open(to == "UTF-8" ? "UTF-8" : "ASCII", from == "UTF-8" ? "UTF-8" : "ASCII");
  const std::unique_ptr<void, IconvCloser> converter(cd);
  std::string out;
  char* next = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[256];
  for (;;) {
    // With the input used up, a last call flushes a stateful character set's shift sequence.
    const bool flushing = inLeft == 0;
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result =
        iconv(cd, flushing ? nullptr : &next, flushing ? nullptr : &inLeft, &outPtr, &outLeft);
    const int error = errno;
    out.append(buffer, outPtr - buffer);
    if (error == E2BIG && result == static_cast<std::size_t>(-1)) continue;  // buffer full
    if (flushing) return out;
    if (result != static_cast<std::size_t>(-1)) continue;
    // EILSEQ: not convertible; EINVAL: a character cut short by the end of the text.
    out.append(replacement);
    const std::size_t skipped = std::min(inLeft, skip({next, inLeft}));
    next += skipped;
    inLeft -= skipped;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
}

}  // namespace

std::string CodePageToUtf8(std::string_view text, unsigned codePage) {
  // Checked here rather than by iconv, which lets sequences above U+10FFFF through.
  if (codePage == kUtf8CodePage) return ReplaceInvalidUtf8(text, kReplacementCharacter);
  return Convert(text, CharacterSet(codePage), "UTF-8", kReplacementCharacter, OneByte);
}

std::string Utf8ToCodePage(std::string_view utf8, unsigned codePage) {
  const std::string valid = ReplaceInvalidUtf8(utf8, "?");
  if (codePage == kUtf8CodePage) return valid;
  return Convert(valid, "UTF-8", CharacterSet(codePage), "?", OneCharacter);
}

}  // namespace Text
