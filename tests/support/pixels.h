#pragma once
// Looking at pixels in tests.
#include <string>

#include "platform/win32/surface.h"

namespace BrovisTest {

constexpr Win32::Pixel kRed = 0xFFFF0000;

// How many pixels of `surface` are exactly `colour`.
int CountPixels(const Win32::Surface& surface, Win32::Pixel colour);
// Whether a pixel is close to `colour` (each channel within `tolerance`).
bool Near(Win32::Pixel pixel, Win32::Pixel colour, int tolerance = 8);
// Writes the surface as a PNG, for looking at a failure.
bool WritePng(const Win32::Surface& surface, const std::string& path);
// Reads a PNG file; an empty surface when it cannot.
Win32::Surface ReadPng(const std::string& path);

}  // namespace BrovisTest
