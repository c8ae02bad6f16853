#pragma once
// The "Brovis" display: the live page of the shared browser, drawn under the mode's title at the
// display's size on every redraw. It keeps no state of its own; the page, its history and its
// selection live in the browser and outlive every display.
#include "platform/orbiter/orbiter_api.h"

namespace Brovis {

class Brovis : public MFD {
 public:
  // Creates the process's bridge when there is none yet.
  Brovis(DWORD w, DWORD h, VESSEL* vessel);
  ~Brovis() override;

  void Update(HDC hDC) override;

  static constexpr char kTitle[] = "Brovis";
};

}  // namespace Brovis
