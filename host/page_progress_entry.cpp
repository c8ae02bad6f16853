// Entry points beyond the simulator's: how far the browser is with the page, and with the
// displays' pictures of it, for a host that plays the pilot from a script. The simulator never
// calls them.
#include "bridge/browser_interface.h"
#include "host/brovis.h"
#include "host/browser_root.h"
#include "host/live_displays.h"

extern "C" __attribute__((visibility("default"))) int BrovisPageProgress() noexcept {
  try {
    // Asking makes no browser: without a display there is none to ask.
    if (!Brovis::_browser) return static_cast<int>(Brovis::PageProgress::NoPage);
    return static_cast<int>(Brovis::_browser->Progress());
  } catch (...) {
    return static_cast<int>(Brovis::PageProgress::NoPage);
  }
}

// How many of the mode's open displays do not show the page as it stands yet: a change, a load
// or a display new to its size owes each its own picture.
extern "C" __attribute__((visibility("default"))) int BrovisPicturesOwed() noexcept {
  try {
    return Brovis::CountLiveDisplays([](const Brovis::Brovis& d) { return d.PictureOwed(); });
  } catch (...) {
    return 0;
  }
}
