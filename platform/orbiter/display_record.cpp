#include "platform/orbiter/display_record.h"

#include <cstdio>
#include <cstdlib>

namespace OrbiterHost {

DisplayRecord::DisplayRecord(MFD& display) : display_(&display) { display.simulatorRecord_ = this; }

DisplayRecord::~DisplayRecord() {
  if (display_) display_->simulatorRecord_ = nullptr;
}

bool DisplayRecord::TakeInvalidated() {
  const bool invalidated = invalidated_;
  invalidated_ = false;
  return invalidated;
}

DisplayRecord& DisplayRecord::Of(const MFD& display, const char* call) {
  if (!display.simulatorRecord_) {
    std::fprintf(stderr,
                 "MFD::%s on a display the simulator has not opened yet: a display's constructor "
                 "must not call it\n",
                 call);
    std::abort();
  }
  return *display.simulatorRecord_;
}

}  // namespace OrbiterHost
