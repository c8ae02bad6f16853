#pragma once
// The addresses the pilot asks for: loaded at once, or as soon as a page is attached; loaded again
// when the page being left overtakes them (PilotNavigation); and standing for the page's address
// until they commit, so that a browser that goes meanwhile is replaced on them.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "browser/engine/chromium/navigation/navigation_sender.h"
#include "browser/engine/chromium/navigation/pilot_navigation.h"

namespace Brovis::Engine {

class PilotLoads {
 public:
  // `failed` hears the browser's reason when a load of an address fails, with the loader whose
  // error page may commit for it.
  using Failed = std::function<void(const std::string& loaderId, const std::string& reason)>;
  PilotLoads(NavigationSender& sender, Failed failed)
      : sender_(sender), failed_(std::move(failed)) {}

  // A page is attached: loads the address that waited for it, if any, and says whether it did.
  bool attach();
  // The browser goes. The page's address (the pilot's, or else `committedUrl`) waits for the next.
  void detach(const std::string& committedUrl);

  // Loads the pilot's address now; the page must be attached.
  void load(const std::string& url) { loadAddress(url, false); }
  // Loads the address as soon as a page is attached.
  void loadWhenAttached(std::string url) { waitingUrl_ = std::move(url); }
  bool addressWaiting() const { return !waitingUrl_.empty(); }
  // A step in the history to `url`: it stands for the page's address until the page commits.
  void historyStep(std::string url);

  // The top document started a navigation to a new address, committed one (its loader), or
  // moved within itself.
  void startedNavigating(std::string_view loaderId) { navigation_.startedNavigating(loaderId); }
  void committed(const std::string& loaderId);
  void movedWithinDocument() { arrived({}); }

  // The address the pilot asked for, while it has not committed; otherwise `committedUrl`.
  const std::string& address(const std::string& committedUrl) const {
    return requestedUrl_.empty() ? committedUrl : requestedUrl_;
  }

 private:
  void loadAddress(const std::string& url, bool retry);
  // Something committed with `loaderId` (none for a move within the document).
  void arrived(const std::string& loaderId);

  NavigationSender& sender_;
  Failed failed_;
  PilotNavigation navigation_;
  // The pilot's address until it commits, and the loader that carries it once known; or, for a
  // history step, whichever loader commits next (its own is not told).
  std::string requestedUrl_;
  std::string requestedLoader_;
  bool anyLoader_ = false;
  std::string lastTopLoader_;
  std::string waitingUrl_;
  std::uint64_t loads_ = 0;
};

}  // namespace Brovis::Engine
