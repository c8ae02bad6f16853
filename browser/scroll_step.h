#pragma once
// One scroll step of the window's stored position: 0.3 units (about 60 pixels at the 200-pixel
// unit), computed in double precision and stored in single precision, as the stored position
// always is. The rounding is deliberate: from offset 200 a step down gives 259 and a step up
// 139, and a step up from 60 pixels or less ends at 0.
#include <cstdint>
#include <optional>

namespace Brovis {

inline constexpr double kScrollStep = 0.3;

// The position one step toward the start (up or left), not below 0; none when the position
// is already at the start (nothing moves).
std::optional<float> StepTowardStart(float position, std::int32_t unit);

// The position one step toward the end (down or right), not beyond the extent `max` (pixels);
// none when the position is not below the extent (nothing moves). The bound is the whole
// extent, not the extent less the view: the engine limits what it is given.
std::optional<float> StepTowardEnd(float position, std::int32_t unit, std::int32_t max);

}  // namespace Brovis
