#pragma once
// Conversions between the window's stored scroll positions (single-precision, in units of a
// fixed number of pixels) and the page's integer pixel offsets. The rounding is deliberate and
// observable: an offset read and written back unchanged comes back the same or one pixel
// smaller (3 becomes 2; 40, 60 and 120 stay).
#include <cstdint>

namespace Brovis {

// Offset and unit each to single precision, divided in double precision, stored as single.
float ToScrollPosition(std::int32_t offset, std::int32_t unit);
// Unit to single precision, both widened to double and multiplied, truncated toward zero.
std::int32_t ToScrollOffset(float position, std::int32_t unit);
// The position nearest offset / unit that ToScrollOffset turns back into `offset` itself, for
// a record that must leave the page exactly where it is.
float ToKeptScrollPosition(std::int32_t offset, std::int32_t unit);

}  // namespace Brovis
