#include "host/brovis.h"

#include "host/browser_root.h"
#include "host/live_displays.h"

namespace Brovis {

Brovis::Brovis(DWORD w, DWORD h, VESSEL* vessel) : MFD(w, h, vessel) {
  EnsureBrowser();
  AddLiveDisplay(this);
}

// The bridge and its window stay: other displays, and later ones, show the same page.
Brovis::~Brovis() { RemoveLiveDisplay(this); }

void Brovis::Update(HDC hDC) {
  try {
    BrowserInterface& browser = EnsureBrowser();
    Title(hDC, kTitle);
    // The window covers the title wherever the two overlap.
    browser.RenderToDC(hDC, static_cast<int>(W), static_cast<int>(H));
  } catch (...) {
    // The simulator's redraw must go on; this display just shows what was drawn so far.
  }
}

bool Brovis::PictureOwed() const {
  return _browser && _browser->PictureOwed(static_cast<int>(W), static_cast<int>(H));
}

}  // namespace Brovis
