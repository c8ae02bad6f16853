#include "bridge/host_text.h"

#include "platform/text/code_page_text.h"
#include "platform/win32/code_page.h"

namespace Brovis {

BrowserText ToBrowserText(HostText text) {
  return FromUtf8Bytes(Text::CodePageToUtf8(text.c_str(), GetACP()));
}

}  // namespace Brovis
