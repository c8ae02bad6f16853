#pragma once
// The "Brovis" display: the live page of the shared browser, drawn under the mode's title at the
// display's size on every redraw, and the pilot's buttons, keys and input boxes that drive it. It
// keeps no state of its own; the page, its history and its selection live in the browser and
// outlive every display.
#include "Orbitersdk.h"

namespace Brovis {

class Brovis : public MFD {
 public:
  // Creates the process's bridge when there is none yet.
  Brovis(DWORD w, DWORD h, VESSEL* vessel);
  ~Brovis() override;

  void Update(HDC hDC) override;
  // The display does not show the shared page as it stands yet (or there is no page).
  bool PictureOwed() const;
  char* ButtonLabel(int bt) override;
  int ButtonMenu(const MFDBUTTONMENU** menu) const override;
  bool ConsumeButton(int bt, int event) override;
  bool ConsumeKeyBuffered(DWORD key) override;

  // What the input boxes' callbacks do with the pilot's confirmed text (host text).
  void processText(char* str);
  void processAppend(char* str);
  void processURL(char* str);

  // The input boxes' visible length, in characters.
  static constexpr int kInputBoxLength = 60;

  static constexpr char kTitle[] = "Brovis";
};

}  // namespace Brovis
