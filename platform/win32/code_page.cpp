#include "platform/win32/code_page.h"

namespace {
// Process-wide, as the system setting it stands in for; only the host's thread touches it.
UINT ansiCodePage = Win32::kDefaultAnsiCodePage;
}  // namespace

UINT GetACP() { return ansiCodePage; }

namespace Win32 {

void SetAnsiCodePage(UINT codePage) { ansiCodePage = codePage; }

}  // namespace Win32
