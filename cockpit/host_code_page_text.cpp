#include "cockpit/host_code_page_text.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

#include "platform/win32/code_page.h"

namespace Cockpit {

namespace {

std::string CodePageName(UINT codePage) {
  if (codePage == 65001) return "UTF-8";
  if (codePage >= 28591 && codePage <= 28606) return "ISO-8859-" + std::to_string(codePage - 28590);
  return "CP" + std::to_string(codePage);
}

// The length of the UTF-8 sequence that starts with `lead`, 1 for a stray byte.
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

struct IconvCloser {
  void operator()(void* cd) const { iconv_close(static_cast<iconv_t>(cd)); }
};

// Converts `in` from one character set to another; an input sequence that cannot be converted
// becomes `replacement`, and conversion goes on after it.
std::string Convert(std::string_view in, const std::string& from, const std::string& to,
                    std::string_view replacement) {
  const iconv_t opened = iconv_open(to.c_str(), from.c_str());
  if (opened == reinterpret_cast<iconv_t>(-1)) return std::string(in);
  const std::unique_ptr<void, IconvCloser> converter(opened);
  const iconv_t cd = opened;
  std::string out;
  char* next = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(cd, &next, &inLeft, &outPtr, &outLeft);
    const int error = errno;
    out.append(buffer, outPtr - buffer);
    if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    out.append(replacement);
    const std::size_t skip =
        from == "UTF-8" ? std::min(inLeft, SequenceLength(static_cast<unsigned char>(*next))) : 1;
    next += skip;
    inLeft -= skip;
  }
  return out;
}

}  // namespace

std::string ToHostCodePage(std::string_view utf8) {
  return Convert(utf8, "UTF-8", CodePageName(GetACP()), "?");
}

std::string FromHostCodePage(std::string_view text) {
  return Convert(text, CodePageName(GetACP()), "UTF-8", "\xEF\xBF\xBD");
}

}  // namespace Cockpit
