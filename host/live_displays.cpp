#include "host/live_displays.h"

#include <algorithm>
#include <vector>

namespace Brovis {

namespace {
// A handful of displays at most: a vector is all it takes.
std::vector<Brovis*>& Live() {
  static std::vector<Brovis*> live;
  return live;
}
}  // namespace

void AddLiveDisplay(Brovis* display) { Live().push_back(display); }

void RemoveLiveDisplay(Brovis* display) { std::erase(Live(), display); }

Brovis* FindLiveDisplay(void* address) {
  const auto& live = Live();
  const auto it = std::find(live.begin(), live.end(), static_cast<Brovis*>(address));
  return it == live.end() ? nullptr : *it;
}

int CountLiveDisplays(bool (*pred)(const Brovis& display)) {
  return static_cast<int>(
      std::count_if(Live().begin(), Live().end(), [&](const Brovis* d) { return pred(*d); }));
}

}  // namespace Brovis
