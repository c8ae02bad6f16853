#pragma once
// Running the thread's messages in tests, as the host's message loop would.
#include <chrono>
#include <functional>

namespace BrovisTest {

// Processes messages until `done` holds or the time is up; returns `done()`.
bool PumpUntil(const std::function<bool()>& done,
               std::chrono::milliseconds limit = std::chrono::milliseconds{10000});
// Processes messages for the given time.
void PumpFor(std::chrono::milliseconds time);

}  // namespace BrovisTest
