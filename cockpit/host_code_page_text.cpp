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

}  // namespace

std::string ToHostCodePage(std::string_view utf8) {
  const iconv_t opened = iconv_open(CodePageName(GetACP()).c_str(), "UTF-8");
  if (opened == reinterpret_cast<iconv_t>(-1)) return std::string(utf8);
  const std::unique_ptr<void, IconvCloser> converter(opened);
  const iconv_t cd = opened;
  std::string out;
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    const int error = errno;
    out.append(buffer, outPtr - buffer);
    if (result != static_cast<std::size_t>(-1) || error == E2BIG) continue;
    out.push_back('?');
    const std::size_t skip = std::min(inLeft, SequenceLength(static_cast<unsigned char>(*in)));
    in += skip;
    inLeft -= skip;
  }
  return out;
}

}  // namespace Cockpit
