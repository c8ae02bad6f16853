#pragma once
// The simulator's side of the module interface: what a host program needs to play the simulator
// for a module, beyond the functions the module itself calls.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Orbitersdk.h"

// The simulator's spacecraft. A display is given a pointer to one and only passes it on.
class VESSEL {};

namespace OrbiterHost {

using MessageProcedure = OAPI_MSGTYPE (*)(UINT msg, UINT mfd, WPARAM wparam, LPARAM lparam);
// Called when the pilot confirms an input box: `id` identifies the box, `str` is the typed text
// in the host's code page. True accepts the input.
using InputBoxCallback = bool (*)(void* id, char* str, void* usrdata);

struct RegisteredMode {
  int id = 0;
  std::string name;
  DWORD key = 0;
  MessageProcedure msgproc = nullptr;
  void* context = nullptr;  // what the mode registered with it, for its opening message
};

// The modes registered now, in the order of registration.
std::vector<RegisteredMode> RegisteredModes();
std::optional<RegisteredMode> FindMode(std::string_view name);

struct InputBox {
  std::string title;
  std::string initialText;
  int visibleLength = 0;
  InputBoxCallback callback = nullptr;
  void* userData = nullptr;
};

// Runs whenever a module opens an input box, after the box has become the open one.
void SetInputBoxListener(std::function<void(const InputBox&)> listener);
// The open input box; one at a time, a newly opened one replaces it.
std::optional<InputBox> OpenInputBox();
// Confirms the open box with `text` (in the host's code page) and returns the callback's answer;
// an accepted input closes the box. None when no box is open.
std::optional<bool> ConfirmInputBox(std::string_view text);
// Closes the open box without calling back; false when none was open.
bool CancelInputBox();

}  // namespace OrbiterHost
