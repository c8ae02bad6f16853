#include "browser/engine/call_budget.h"

#include <algorithm>

namespace Brovis::Engine {

namespace {
// No budget open: the far future.
CallBudget::Clock::time_point& CurrentDeadline() {
  static CallBudget::Clock::time_point deadline = CallBudget::Clock::time_point::max();
  return deadline;
}
}  // namespace

CallBudget::CallBudget(std::chrono::milliseconds allowance) : previous_(CurrentDeadline()) {
  CurrentDeadline() = std::min(previous_, Clock::now() + allowance);
}

CallBudget::~CallBudget() { CurrentDeadline() = previous_; }

std::chrono::milliseconds CallBudget::Limit(std::chrono::milliseconds limit) {
  const auto deadline = CurrentDeadline();
  if (deadline == Clock::time_point::max()) return limit;
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return std::clamp(left, std::chrono::milliseconds{0}, limit);
}

CallBudget::Clock::time_point CallBudget::Deadline(Clock::time_point deadline) {
  return std::min(deadline, CurrentDeadline());
}

}  // namespace Brovis::Engine
