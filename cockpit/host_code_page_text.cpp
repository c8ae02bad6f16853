#include "cockpit/host_code_page_text.h"

#include "platform/text/code_page_text.h"
#include "platform/win32/code_page.h"

namespace Cockpit {

std::string ToHostCodePage(std::string_view utf8) { return Text::Utf8ToCodePage(utf8, GetACP()); }

std::string FromHostCodePage(std::string_view text) { return Text::CodePageToUtf8(text, GetACP()); }

}  // namespace Cockpit
