#pragma once
// Events of the window toolkit: a list of handlers raised in the order they were connected, and
// the event argument types.
#include <functional>
#include <vector>

namespace Forms {

class Control;

template <typename Args>
class Event {
 public:
  using Handler = std::function<void(Control* sender, Args& e)>;
  void operator+=(Handler handler) { handlers_.push_back(std::move(handler)); }
  bool HasHandlers() const { return !handlers_.empty(); }
  void Raise(Control* sender, Args& e) {
    // A copy, so that a handler may connect further handlers while the event runs.
    const auto handlers = handlers_;
    for (const auto& h : handlers) h(sender, e);
  }

 private:
  std::vector<Handler> handlers_;
};

struct EventArgs {};

struct CancelEventArgs {
  bool Cancel = false;
};

struct InvalidateEventArgs {
  int Left = 0, Top = 0, Width = 0, Height = 0;
};

enum class MouseButtons { None = 0, Left = 0x100000, Right = 0x200000, Middle = 0x400000 };

struct MouseEventArgs {
  MouseButtons Button = MouseButtons::None;
  int Clicks = 1;
  int X = 0, Y = 0;
  int Delta = 0;
};

struct KeyPressEventArgs {
  char16_t KeyChar = 0;
  bool Handled = false;
};

}  // namespace Forms
