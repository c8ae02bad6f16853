#pragma once
// How long the host's thread may still be held by what it asked of the module. An entry point
// opens a budget (a redraw a short one, a pilot's command a longer one); every wait on the
// browser inside it ends by the budget's deadline at the latest, whatever its own limit. Budgets
// nest, and the tighter deadline wins. One thread, so one process-wide deadline.
#include <chrono>

namespace Brovis::Engine {

class CallBudget {
 public:
  using Clock = std::chrono::steady_clock;

  explicit CallBudget(std::chrono::milliseconds allowance);
  ~CallBudget();
  CallBudget(const CallBudget&) = delete;
  CallBudget& operator=(const CallBudget&) = delete;

  // `limit`, cut down to what is left of the innermost budget; zero once it is spent.
  static std::chrono::milliseconds Limit(std::chrono::milliseconds limit);
  // `deadline`, moved forward to the budget's deadline when that comes first.
  static Clock::time_point Deadline(Clock::time_point deadline);

 private:
  Clock::time_point previous_;
};

}  // namespace Brovis::Engine
