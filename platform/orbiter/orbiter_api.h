#pragma once
// The simulator's programming interface as a module sees it: the display (MFD) base class, mode
// registration, redraw requests and text input boxes. A module is built against this header
// only; the simulator's side implements it in a shared library that the module's own calls
// resolve into when the simulator loads the module.
#include <cstdint>
#include <cstdio>

#include "platform/win32/win32.h"

// Marks what the simulator exports to modules and what a module exports to the simulator; a
// module is built with hidden visibility, so everything else in it stays private.
#define OAPI_EXPORT __attribute__((visibility("default")))
#define MODULE_ENTRY extern "C" __attribute__((visibility("default")))

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;

// The spacecraft a display belongs to. Modules only pass it on to the MFD base class.
class VESSEL {};

// The integers of the message procedure carry pointers (the vessel in, the display object out),
// so they are as wide as a pointer on this platform, as they are 32 bits on the 32-bit host.
using MFD_WPARAM = std::uintptr_t;
using MFD_LPARAM = std::intptr_t;
using MFD_RESULT = std::intptr_t;

// Sent when the pilot selects the mode on a display: wparam holds the display's width in its low
// 16 bits and its height in the next 16, lparam the vessel. The answer is a new MFD object, which
// the simulator then owns, or 0.
constexpr UINT kMfdOpenedMessage = 1;

constexpr std::uint16_t LoWord(MFD_WPARAM value) { return static_cast<std::uint16_t>(value); }
constexpr std::uint16_t HiWord(MFD_WPARAM value) { return static_cast<std::uint16_t>(value >> 16); }

extern "C" {
using MFD_MSGPROC = MFD_RESULT (*)(UINT msg, UINT mfd, MFD_WPARAM wparam, MFD_LPARAM lparam);
// Called when the pilot confirms an input box: `id` identifies the box, `str` is the typed text
// in the host's code page. True accepts the input.
using InputBoxCallback = bool (*)(void* id, char* str, void* usrdata);
}

// A mode as it is registered. The record itself may be temporary; the name must stay valid while
// the mode is registered.
struct MFDMODESPEC {
  const char* name;     // shown in the simulator's list of modes
  DWORD key;            // the key code that selects the mode
  MFD_MSGPROC msgproc;  // receives kMfdOpenedMessage
};

// One entry of a display's button menu. Packed: tables of these are read with no gap between
// fields or records.
struct __attribute__((packed)) MFDBUTTONMENU {
  const char* line1;  // first line of the description
  const char* line2;  // second line, or null
  char selchar;       // the key character shown for the button, 0 for none
};
static_assert(sizeof(MFDBUTTONMENU) == 2 * sizeof(const char*) + 1, "no padding in the record");
static_assert(sizeof(MFDBUTTONMENU) == 17, "the layout the simulator reads on this platform");

// A display showing a mode. The simulator creates it through the mode's message procedure, calls
// its virtual operations on its own thread, and destroys it when the display leaves the mode.
class OAPI_EXPORT MFD {
 public:
  MFD(DWORD w, DWORD h, VESSEL* vessel);
  virtual ~MFD();
  MFD(const MFD&) = delete;
  MFD& operator=(const MFD&) = delete;

  // Draws the display into `hDC`, a surface of width x height pixels.
  virtual void Update(HDC hDC) = 0;
  // A DirectInput keyboard scan code; true when consumed.
  virtual bool ConsumeKeyBuffered(DWORD key);
  // The keyboard state, one byte per scan code.
  virtual bool ConsumeKeyImmediate(char* kstate);
  // `event` bit 0: the left mouse button was pressed. True when consumed.
  virtual bool ConsumeButton(int bt, int event);
  // The label of side button `bt`, or null for none.
  virtual const char* ButtonLabel(int bt);
  // Stores the address of the menu table in `menu` when it is not null; returns its length.
  virtual int ButtonMenu(const MFDBUTTONMENU** menu) const;
  virtual void WriteStatus(FILE* scn) const;
  virtual void ReadStatus(FILE* scn);
  virtual void StoreStatus() const;
  virtual void RecallStatus();

  // Draws the mode's title into the display.
  void Title(HDC hDC, const char* title) const;
  // Asks for another Update soon.
  void InvalidateDisplay();

 protected:
  DWORD width;   // of the display, in pixels
  DWORD height;  // of the display, in pixels
  VESSEL* vessel;
};

// Returns the mode's identifier.
OAPI_EXPORT int oapiRegisterMFDMode(MFDMODESPEC& modeSpec);
// True when the identifier named a registered mode.
OAPI_EXPORT bool oapiUnregisterMFDMode(int mode);
// Opens an input box and returns at once; `callback` runs when the pilot confirms it. `buf` is
// the initial text (null: empty), `vislen` the visible length in characters.
OAPI_EXPORT void oapiOpenInputBox(const char* title, InputBoxCallback callback,
                                  const char* buf = nullptr, int vislen = 20,
                                  void* usrdata = nullptr);
