#pragma once
// Busy loops that take the machine's cores, as a simulator does, for as long as the guard lives;
// each is stopped by its own process id.
#include <vector>

namespace BrovisTest {

class BusyLoops {
 public:
  explicit BusyLoops(int count);
  ~BusyLoops();
  BusyLoops(const BusyLoops&) = delete;
  BusyLoops& operator=(const BusyLoops&) = delete;

  // How many are running.
  int running() const { return static_cast<int>(pids_.size()); }

 private:
  std::vector<int> pids_;
};

}  // namespace BrovisTest
