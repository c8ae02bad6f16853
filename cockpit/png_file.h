#pragma once
// Writes a display's surface as a PNG file.
#include <filesystem>

#include "platform/win32/surface.h"

namespace Cockpit {

// Opaque RGB, 8 bits a channel. Throws std::runtime_error when the file cannot be written.
void WritePng(const Win32::Surface& surface, const std::filesystem::path& path);

}  // namespace Cockpit
