#include "tests/support/pump.h"

#include "platform/forms/application.h"

namespace BrovisTest {

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    Forms::Application::DoEvents();
    if (done()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Forms::Application::WaitForMessages(std::chrono::milliseconds{10});
  }
}

void PumpFor(std::chrono::milliseconds time) {
  PumpUntil([] { return false; }, time);
}

}  // namespace BrovisTest
