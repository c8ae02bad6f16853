#pragma once
// The display (MFD) base class that a module's modes derive from.
#include "OrbiterAPI.h"

#pragma GCC visibility push(default)

// One entry of a display's button menu. Packed: the simulator reads tables of these with no gap
// between fields or records.
struct __attribute__((packed)) MFDBUTTONMENU {
  const char *line1, *line2;
  char selchar;
};
static_assert(sizeof(MFDBUTTONMENU) == 2 * sizeof(const char*) + 1);

namespace OrbiterHost {
class DisplayRecord;
}

class MFD {
 public:
  MFD(DWORD w, DWORD h, VESSEL* vessel);
  virtual ~MFD();
  virtual void Update(HDC hDC) = 0;
  virtual bool ConsumeKeyBuffered(DWORD key);
  virtual bool ConsumeKeyImmediate(char* kstate);
  virtual bool ConsumeButton(int bt, int event);
  virtual char* ButtonLabel(int bt);
  virtual int ButtonMenu(const MFDBUTTONMENU** menu) const;
  virtual void WriteStatus(FILEHANDLE scn) const;
  virtual void ReadStatus(FILEHANDLE scn);
  virtual void StoreStatus() const;
  virtual void RecallStatus();

  void InvalidateDisplay();
  void InvalidateButtons();
  void Title(HDC hDC, const char* title) const;

 protected:
  DWORD W, H;    // the display's size in pixels
  DWORD cw, ch;  // the default font's character width and height
  VESSEL* pV;

 private:
  friend class OrbiterHost::DisplayRecord;
  // The simulator's own record of the display. The simulator sets it only once the constructor
  // has returned, so the calls that go through it cannot be made from a constructor.
  OrbiterHost::DisplayRecord* simulatorRecord_;
};

#pragma GCC visibility pop
