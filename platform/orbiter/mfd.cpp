#include "MFDAPI.h"
#include "platform/orbiter/display_record.h"
#include "platform/orbiter/title_text.h"

MFD::MFD(DWORD w, DWORD h, VESSEL* vessel) : W(w), H(h), pV(vessel), simulatorRecord_(nullptr) {
  const OrbiterHost::CharacterCell cell = OrbiterHost::DisplayFontCell(static_cast<int>(h));
  cw = cell.width;
  ch = cell.height;
}

MFD::~MFD() {
  if (simulatorRecord_) simulatorRecord_->display_ = nullptr;
}

bool MFD::ConsumeKeyBuffered(DWORD) { return false; }

bool MFD::ConsumeKeyImmediate(char*) { return false; }

bool MFD::ConsumeButton(int, int) { return false; }

char* MFD::ButtonLabel(int) { return nullptr; }

int MFD::ButtonMenu(const MFDBUTTONMENU**) const { return 0; }

void MFD::WriteStatus(FILEHANDLE) const {}

void MFD::ReadStatus(FILEHANDLE) {}

void MFD::StoreStatus() const {}

void MFD::RecallStatus() {}

void MFD::InvalidateDisplay() {
  OrbiterHost::DisplayRecord::Of(*this, "InvalidateDisplay").invalidated_ = true;
}

// The host reads the labels and the menu afresh whenever it draws them.
void MFD::InvalidateButtons() {}

void MFD::Title(HDC hDC, const char* title) const {
  OrbiterHost::DisplayRecord::Of(*this, "Title");
  Win32::Surface* surface = Win32::SurfaceOf(hDC);
  if (!surface || !title) return;
  OrbiterHost::DrawTitle(*surface, title);
}
