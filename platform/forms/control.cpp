#include "platform/forms/control.h"

#include <algorithm>

namespace Forms {

Control::Control() = default;

Control::~Control() {
  if (parent_) parent_->RemoveControl(*this);
  for (Control* child : children_) child->parent_ = nullptr;
}

HWND Control::Handle() {
  if (!native_) native_ = std::make_unique<Win32::NativeWindow>(*this);
  return native_->handle();
}

void Control::SetSize(Size size) {
  const Size previous = size_;
  size_ = {std::max(size.Width, minimumSize_.Width), std::max(size.Height, minimumSize_.Height)};
  if (size_ != previous) OnResize();
}

void Control::SetMinimumSize(Size size) {
  minimumSize_ = size;
  SetSize(size_);
}

void Control::Show() {
  visible_ = true;
  Handle();
}

void Control::SendToBack() {
  sentToBack_ = true;
  if (parent_) {
    auto& siblings = parent_->children_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), this));
    siblings.push_back(this);
  }
}

void Control::ResumeLayout(bool performLayout) {
  if (layoutSuspended_ > 0) --layoutSuspended_;
  if (performLayout && layoutSuspended_ == 0) PerformLayout();
}

void Control::AddControl(Control& child) {
  if (child.parent_) child.parent_->RemoveControl(child);
  child.parent_ = this;
  children_.push_back(&child);
}

void Control::RemoveControl(Control& child) {
  auto it = std::find(children_.begin(), children_.end(), &child);
  if (it == children_.end()) return;
  children_.erase(it);
  child.parent_ = nullptr;
}

Control* Control::FindControl(const std::string& name, bool searchAllChildren) {
  for (Control* child : children_) {
    if (child->name_ == name) return child;
    if (searchAllChildren)
      if (Control* found = child->FindControl(name, true)) return found;
  }
  return nullptr;
}

std::unique_ptr<Drawing::Graphics> Control::CreateGraphics() {
  return Drawing::Graphics::FromHwnd(Handle());
}

void Control::Dispose() {
  if (disposed_) return;
  disposed_ = true;
  // Children first, as the toolkit releases the contents before the container.
  const auto children = children_;
  for (Control* child : children) child->Dispose();
  OnDispose();
  native_.reset();
}

void Control::Invalidate() {
  InvalidateEventArgs e{0, 0, size_.Width, size_.Height};
  Invalidated.Raise(this, e);
}

void Control::PaintWindow(const Win32::Canvas& canvas) {
  if (!ChildCovers(canvas)) OnPaint(canvas);
  // Back to front, so that the front-most child paints last.
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    Control* child = *it;
    if (!child->visible_) continue;
    const Win32::Canvas inner = canvas.child(child->location_.X, child->location_.Y,
                                             child->size_.Width, child->size_.Height);
    if (!inner.clip.empty()) child->PaintWindow(inner);
  }
}

void Control::OnPaint(const Win32::Canvas& canvas) {
  canvas.fill({0, 0, size_.Width, size_.Height}, kControlColour);
}

bool Control::ChildCovers(const Win32::Canvas& canvas) const {
  // Painting the background under a child that hides all of it would only cost time.
  for (const Control* child : children_) {
    if (!child->visible_) continue;
    const Win32::Rect r{canvas.originX + child->location_.X, canvas.originY + child->location_.Y,
                        canvas.originX + child->location_.X + child->size_.Width,
                        canvas.originY + child->location_.Y + child->size_.Height};
    if (r.left <= canvas.clip.left && r.top <= canvas.clip.top && r.right >= canvas.clip.right &&
        r.bottom >= canvas.clip.bottom)
      return true;
  }
  return false;
}

}  // namespace Forms
