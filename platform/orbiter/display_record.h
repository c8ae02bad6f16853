#pragma once
// The simulator's own record of an open display, which the display's Title and InvalidateDisplay
// reach it through. The simulator attaches it once the display's constructor has returned; until
// then those calls are refused, loudly, as the simulator itself would crash on them.
#include "MFDAPI.h"

namespace OrbiterHost {

class DisplayRecord {
 public:
  // Attaches to `display`, whose constructor must have returned. Either may go first.
  explicit DisplayRecord(MFD& display);
  ~DisplayRecord();
  DisplayRecord(const DisplayRecord&) = delete;
  DisplayRecord& operator=(const DisplayRecord&) = delete;

  // Whether the display asked for a redraw since the last call.
  bool TakeInvalidated();

 private:
  friend class ::MFD;
  // The record of `display`; aborts with a message naming `call` when none is attached.
  static DisplayRecord& Of(const MFD& display, const char* call);

  MFD* display_;
  bool invalidated_ = false;
};

}  // namespace OrbiterHost
