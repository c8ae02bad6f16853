#include "platform/orbiter/invalidation.h"
#include "platform/orbiter/orbiter_api.h"
#include "platform/orbiter/title_text.h"

MFD::MFD(DWORD w, DWORD h, VESSEL* v) : width(w), height(h), vessel(v) {}

MFD::~MFD() { OrbiterHost::ForgetDisplay(*this); }

bool MFD::ConsumeKeyBuffered(DWORD) { return false; }

bool MFD::ConsumeKeyImmediate(char*) { return false; }

bool MFD::ConsumeButton(int, int) { return false; }

const char* MFD::ButtonLabel(int) { return nullptr; }

int MFD::ButtonMenu(const MFDBUTTONMENU**) const { return 0; }

void MFD::WriteStatus(FILE*) const {}

void MFD::ReadStatus(FILE*) {}

void MFD::StoreStatus() const {}

void MFD::RecallStatus() {}

void MFD::Title(HDC hDC, const char* title) const {
  Win32::Surface* surface = Win32::SurfaceOf(hDC);
  if (!surface || !title) return;
  OrbiterHost::DrawTitle(*surface, title);
}

void MFD::InvalidateDisplay() { OrbiterHost::MarkInvalidated(*this); }
