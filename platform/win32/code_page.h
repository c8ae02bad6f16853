#pragma once
// The system's ANSI code page: the character set of every narrow ("A") text the host hands to a
// module. A Western Windows system uses Windows-1252; a host may run with another.
#include "platform/win32/win32.h"

// The code page identifier, as Windows numbers them (1252, 1251, 932, 65001 for UTF-8, ...).
UINT GetACP();

namespace Win32 {

constexpr UINT kDefaultAnsiCodePage = 1252;

// For the host: the code page that GetACP reports from now on.
void SetAnsiCodePage(UINT codePage);

}  // namespace Win32
