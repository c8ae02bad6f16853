#include "browser/scroll_step.h"

namespace Brovis {

std::optional<float> StepTowardStart(float position, std::int32_t unit) {
  if (!(static_cast<double>(unit) * static_cast<double>(position) > 0.0)) return std::nullopt;
  float next = static_cast<float>(static_cast<double>(position) - kScrollStep);
  if (next < 0.0f) next = 0.0f;
  return next;
}

std::optional<float> StepTowardEnd(float position, std::int32_t unit, std::int32_t max) {
  const double size = static_cast<float>(unit);
  const double extent = static_cast<float>(max);
  if (!(static_cast<double>(position) * size < extent)) return std::nullopt;
  float next = static_cast<float>(static_cast<double>(position) + kScrollStep);
  if (static_cast<double>(next) * size > extent) next = static_cast<float>(extent / size);
  return next;
}

}  // namespace Brovis
