#include <string>

#include "platform/orbiter/orbiter_host.h"

namespace OrbiterHost {

namespace {
struct InputBoxState {
  std::optional<InputBox> open;
  std::function<void(const InputBox&)> listener;
};
InputBoxState& State() {
  static InputBoxState state;
  return state;
}
}  // namespace

void SetInputBoxListener(std::function<void(const InputBox&)> listener) {
  State().listener = std::move(listener);
}

std::optional<InputBox> OpenInputBox() { return State().open; }

std::optional<bool> ConfirmInputBox(std::string_view text) {
  auto& state = State();
  if (!state.open) return std::nullopt;
  // The callback may open the next box, so the open one is taken out before it runs.
  InputBox box = std::move(*state.open);
  state.open.reset();
  if (!box.callback) return true;
  std::string typed(text);
  const bool accepted = box.callback(&box, typed.data(), box.userData);
  if (!accepted && !state.open) state.open = std::move(box);
  return accepted;
}

bool CancelInputBox() {
  auto& state = State();
  if (!state.open) return false;
  state.open.reset();
  return true;
}

}  // namespace OrbiterHost

void oapiOpenInputBox(char* title, bool (*callback)(void*, char*, void*), char* buf, int vislen,
                      void* usrdata) {
  auto& state = OrbiterHost::State();
  state.open = OrbiterHost::InputBox{title ? title : "", buf ? buf : "", vislen, callback, usrdata};
  if (state.listener) state.listener(*state.open);
}
