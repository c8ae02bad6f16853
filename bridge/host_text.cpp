#include "bridge/host_text.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <string_view>

#include "platform/win32/code_page.h"

namespace Brovis {

namespace {

constexpr char8_t kReplacement[] = u8"\uFFFD";

// The converter's name for a Windows code page identifier.
std::string IconvName(UINT codePage) {
  switch (codePage) {
    case 65001:
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

class Converter {
 public:
  explicit Converter(UINT codePage) : cd_(iconv_open("UTF-8", IconvName(codePage).c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t get() const { return cd_; }

 private:
  iconv_t cd_;
};

// Without a converter for the code page, ASCII still passes and everything else is replaced.
BrowserText AsciiOnly(const char* in, std::size_t size) {
  BrowserText out;
  for (std::size_t i = 0; i < size; ++i) {
    const auto byte = static_cast<unsigned char>(in[i]);
    if (byte < 0x80)
      out.push_back(static_cast<char8_t>(byte));
    else
      out.append(kReplacement);
  }
  return out;
}

// The length of the well-formed UTF-8 character at the start of `s`, 0 when there is none.
std::size_t Utf8CharacterLength(std::string_view s) {
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

// UTF-8 host text is checked here rather than by the converter, which passes sequences above
// U+10FFFF (the old five- and six-byte forms among them) through unchanged.
BrowserText FromUtf8(std::string_view in) {
  BrowserText out;
  while (!in.empty()) {
    const std::size_t length = Utf8CharacterLength(in);
    if (length == 0)
      out.append(kReplacement);
    else
      out.append(reinterpret_cast<const char8_t*>(in.data()), length);
    in.remove_prefix(std::max<std::size_t>(length, 1));
  }
  return out;
}

}  // namespace

BrowserText ToBrowserText(HostText text) {
  const char* in = text.c_str();
  std::size_t inLeft = std::strlen(in);
  if (GetACP() == 65001) return FromUtf8({in, inLeft});
  const Converter converter(GetACP());
  if (!converter.ok()) return AsciiOnly(in, inLeft);

  BrowserText out;
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result =
        iconv(converter.get(), const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
    const int error = errno;
    out.append(reinterpret_cast<const char8_t*>(buffer), outPtr - buffer);
    if (result != static_cast<std::size_t>(-1)) continue;
    if (error == E2BIG) continue;  // the buffer is full; what was converted is kept
    // EILSEQ: not a character of the code page; EINVAL: a multi-byte character cut short by the
    // end of the text. Either way one byte is replaced and the rest still decoded.
    out.append(kReplacement);
    ++in;
    --inLeft;
    iconv(converter.get(), nullptr, nullptr, nullptr, nullptr);
  }
  // Flushes a stateful code page's final shift sequence.
  char* outPtr = buffer;
  std::size_t outLeft = sizeof buffer;
  iconv(converter.get(), nullptr, nullptr, &outPtr, &outLeft);
  out.append(reinterpret_cast<const char8_t*>(buffer), outPtr - buffer);
  return out;
}

}  // namespace Brovis
