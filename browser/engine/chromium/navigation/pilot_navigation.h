#pragma once
// Keeps the address the pilot asked for from being overtaken by the page being left.
//
// Until the pilot's navigation commits, the old document still runs: a navigation its script
// starts meanwhile does not cancel the pilot's, it waits and commits right after it. A page that
// navigates itself in a loop would win again and again. So every other navigation of the main
// top document that starts while the pilot's is on its way is noted, and if one commits after the
// pilot's page (or is still on its way when the pilot's page commits), the pilot's address is
// loaded again, a few times at most.
#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace Brovis::Engine {

class PilotNavigation {
 public:
  static constexpr int kMaxRetries = 3;

  // The pilot's address is being loaded, anew or again after being overtaken.
  void started(std::string url, bool retry);
  // The browser's answer to that load: the loader that carries it, or nothing when it failed or
  // became a download (nothing of it will commit). Returns the address to load again, if any.
  std::optional<std::string> answered(std::optional<std::string> loaderId);
  // A navigation of the top document to another document started.
  void startedNavigating(std::string_view loaderId);
  // A commit of the top document. Returns the address to load again, if any.
  std::optional<std::string> committed(std::string_view loaderId);
  // Navigations that are not the pilot's address (history steps, a new browser).
  void forget();

 private:
  std::optional<std::string> check();
  bool pilotCommitted() const;

  // Bounds what a page that navigates without pause can make this hold.
  static constexpr std::size_t kMaxTracked = 64;

  bool active_ = false;
  int retries_ = 0;
  std::string url_;
  std::string loaderId_;
  // Other loaders started before the pilot's page committed, and every commit, in order.
  std::set<std::string, std::less<>> others_;
  std::vector<std::string> commits_;
};

}  // namespace Brovis::Engine
