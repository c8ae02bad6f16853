#pragma once
// The base of every window and control: bounds, a lazily created native window, child controls,
// painting into a canvas, input events and disposal.
#include <memory>
#include <string>
#include <vector>

#include "platform/drawing/drawing.h"
#include "platform/forms/events.h"
#include "platform/win32/win32.h"

namespace Forms {

using Drawing::Point;
using Drawing::Size;

// The toolkit's default face colour of forms and panels.
constexpr Win32::Pixel kControlColour = 0xFFF0F0F0;

class Control : public Win32::WindowContent {
 public:
  Control();
  ~Control() override;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  // The native window's handle; the window is created on first use.
  HWND Handle();
  bool IsHandleCreated() const { return native_ != nullptr; }

  Point Location() const { return location_; }
  void SetLocation(Point location) { location_ = location; }
  Size GetSize() const { return size_; }
  // Never below the minimum size.
  void SetSize(Size size);
  Size ClientSize() const { return size_; }
  void SetClientSize(Size size) { SetSize(size); }
  Size MinimumSize() const { return minimumSize_; }
  void SetMinimumSize(Size size);

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  const std::string& Text() const { return text_; }
  void SetText(std::string text) { text_ = std::move(text); }
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int index) { tabIndex_ = index; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool stop) { tabStop_ = stop; }

  bool Visible() const { return visible_; }
  void Show();
  void Hide() { visible_ = false; }
  void SendToBack();

  void SuspendLayout() { ++layoutSuspended_; }
  void ResumeLayout(bool performLayout = true);
  void PerformLayout() {}

  // Child controls, front to back as on the toolkit: the first added is in front.
  void AddControl(Control& child);
  void RemoveControl(Control& child);
  const std::vector<Control*>& Controls() const { return children_; }
  Control* Parent() const { return parent_; }
  // The first control of this name among the children, searching all levels when asked.
  Control* FindControl(const std::string& name, bool searchAllChildren);

  std::unique_ptr<Drawing::Graphics> CreateGraphics();

  // Releases the native window and disposes the child controls. Idempotent.
  void Dispose();
  bool IsDisposed() const { return disposed_; }

  // Asks for a repaint; raises Invalidated.
  void Invalidate();

  // Input as the window system delivers it to this control.
  void RaiseMouseDown(MouseEventArgs& e) { MouseDown.Raise(this, e); }
  void RaiseKeyPress(KeyPressEventArgs& e) { KeyPress.Raise(this, e); }

  Event<MouseEventArgs> MouseDown;
  Event<KeyPressEventArgs> KeyPress;
  Event<InvalidateEventArgs> Invalidated;

  // Win32::WindowContent
  void PaintWindow(const Win32::Canvas& canvas) override;
  int WindowWidth() const override { return size_.Width; }
  int WindowHeight() const override { return size_.Height; }

 protected:
  // Paints the control's own content into `canvas`, whose origin is the control's top-left.
  virtual void OnPaint(const Win32::Canvas& canvas);
  virtual void OnResize() {}
  virtual void OnDispose() {}

 private:
  bool ChildCovers(const Win32::Canvas& canvas) const;

  std::unique_ptr<Win32::NativeWindow> native_;
  Control* parent_ = nullptr;
  std::vector<Control*> children_;
  Point location_;
  Size size_;
  Size minimumSize_;
  std::string name_;
  std::string text_;
  int tabIndex_ = 0;
  bool tabStop_ = true;
  bool visible_ = true;
  bool sentToBack_ = false;
  int layoutSuspended_ = 0;
  bool disposed_ = false;
};

}  // namespace Forms
