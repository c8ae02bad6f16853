#include "tests/support/fake_display.h"

#include <algorithm>
#include <memory>

namespace BrovisTest {

FakeRecord fake;

namespace {

char kName[] = "Fake";
char kBoxTitle[] = "Input URL";
char kLabels[][4] = {"NXT", "URL", "DWN"};
const MFDBUTTONMENU kMenu[] = {{"Load URL", nullptr, 'U'}, {"Scroll up", "SHFT-Arrow up", 0}};
int context;

class FakeDisplay : public MFD {
 public:
  FakeDisplay(DWORD w, DWORD h, VESSEL* v) : MFD(w, h, v) {
    ++fake.alive;
    if (fake.earlyRequest) InvalidateDisplay();
  }
  ~FakeDisplay() override {
    --fake.alive;
    fake.seen.push_back("destroyed");
  }
  void Update(HDC hdc) override {
    ++fake.updates;
    Win32::Surface& s = *Win32::SurfaceOf(hdc);
    if (fake.titleOnly)
      Title(hdc, kName);
    else
      std::fill(s.pixels().begin(), s.pixels().end(), kFakeFace);
    if (fake.changing) s.pixels()[0] = static_cast<Win32::Pixel>(fake.updates);
    if (fake.invalidating) InvalidateDisplay();
  }
  bool ConsumeButton(int bt, int event) override {
    fake.buttons.push_back({static_cast<int>(W), bt});
    fake.events.push_back(event);
    if (bt != 5 || !(event & 1)) return false;
    oapiOpenInputBox(kBoxTitle, Typed, nullptr, 60, this);
    return true;
  }
  bool ConsumeKeyBuffered(DWORD key) override {
    fake.keys.push_back(key);
    if (key != 200) return false;
    InvalidateDisplay();
    return true;
  }
  char* ButtonLabel(int bt) override {
    return bt == 0 ? kLabels[0] : bt == 5 ? kLabels[1] : bt == 7 ? kLabels[2] : nullptr;
  }
  int ButtonMenu(const MFDBUTTONMENU** menu) const override {
    if (menu) *menu = kMenu;
    return 2;
  }
  static bool Typed(void*, char* str, void*) {
    fake.typed.emplace_back(str);
    return !fake.refuse;
  }
};

OAPI_MSGTYPE FakeMsgProc(UINT msg, UINT mfd, WPARAM wparam, LPARAM lparam) {
  std::string seen = std::to_string(msg) + " mfd " + std::to_string(mfd);
  DWORD w = wparam & 0xFFFF, h = wparam >> 16;
  if (msg == OAPI_MSG_MFD_OPENEDEX) {
    const auto& open = *reinterpret_cast<const MFDMODEOPENSPEC*>(wparam);
    seen += " " + std::to_string(open.w) + "x" + std::to_string(open.h) + " " + open.spec->name +
            (open.spec->context == &context ? " context" : "");
    w = open.w;
    h = open.h;
  } else if (msg == OAPI_MSG_MFD_OPENED) {
    seen += " wparam " + std::to_string(wparam) + (lparam ? " vessel" : "");
  }
  fake.seen.push_back(seen);
  const bool opens = msg == (fake.openExtended ? OAPI_MSG_MFD_OPENEDEX : OAPI_MSG_MFD_OPENED);
  if (!opens) return 0;
  return reinterpret_cast<OAPI_MSGTYPE>(
      std::make_unique<FakeDisplay>(w, h, reinterpret_cast<VESSEL*>(lparam)).release());
}

}  // namespace

FakeMode::FakeMode() {
  fake = {};
  MFDMODESPECEX modeSpec{kName, kKey, &context, FakeMsgProc};
  id_ = oapiRegisterMFDMode(modeSpec);
  mode_ = *OrbiterHost::FindMode(kName);
}

FakeMode::~FakeMode() { oapiUnregisterMFDMode(id_); }

}  // namespace BrovisTest
