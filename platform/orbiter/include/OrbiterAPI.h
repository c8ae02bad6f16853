#pragma once
// The simulator's programming interface for modules: the entry-point macro, mode registration,
// the display messages and text input boxes. A module is built against these declarations only;
// the simulator implements them in a shared library that the module's calls resolve into when
// the simulator loads it.
#include "platform/win32/win32.h"

// What a module exports to the simulator: its entry points InitModule(HINSTANCE) and
// ExitModule(HINSTANCE), with C linkage. A module is built with hidden visibility, so everything
// else in it stays private.
#define DLLCLBK extern "C" __attribute__((visibility("default")))

#pragma GCC visibility push(default)

typedef void* FILEHANDLE;
// The result of a mode's message procedure: it carries the display object out.
typedef std::intptr_t OAPI_MSGTYPE;

// The spacecraft a display belongs to.
class VESSEL;

// Messages to a mode's message procedure.
#define OAPI_MSG_MFD_OPENED 1
#define OAPI_MSG_MFD_CLOSED 2
#define OAPI_MSG_MFD_UPDATE 3
#define OAPI_MSG_MFD_OPENEDEX 4

struct MFDMODESPEC {
  char* name;
  DWORD key;
  OAPI_MSGTYPE (*msgproc)(UINT, UINT, WPARAM, LPARAM);
};

struct MFDMODESPECEX {
  char* name;
  DWORD key;
  void* context;
  OAPI_MSGTYPE (*msgproc)(UINT, UINT, WPARAM, LPARAM);
};

struct MFDMODEOPENSPEC {
  int w, h;
  MFDMODESPECEX* spec;
};

int oapiRegisterMFDMode(MFDMODESPEC& modeSpec);
int oapiRegisterMFDMode(MFDMODESPECEX& modeSpec);
bool oapiUnregisterMFDMode(int mode);

void oapiOpenInputBox(char* title, bool (*Clbk)(void*, char*, void*), char* buf = 0,
                      int vislen = 20, void* usrdata = 0);

#pragma GCC visibility pop
