#pragma once
// Top-level windows and the simple container controls.
#include <memory>

#include "platform/forms/control.h"

namespace Forms {

enum class FormBorderStyle { None, FixedSingle, Sizable };
enum class AutoScaleMode { None, Font, Dpi, Inherit };
enum class FormStartPosition { Manual, CenterScreen, WindowsDefaultLocation };

class Form : public Control {
 public:
  Form();
  ~Form() override;

  FormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetFormBorderStyle(FormBorderStyle style) { borderStyle_ = style; }
  bool ShowInTaskbar() const { return showInTaskbar_; }
  void SetShowInTaskbar(bool show) { showInTaskbar_ = show; }
  Drawing::SizeF AutoScaleDimensions() const { return autoScaleDimensions_; }
  void SetAutoScaleDimensions(Drawing::SizeF d) { autoScaleDimensions_ = d; }
  Forms::AutoScaleMode GetAutoScaleMode() const { return autoScaleMode_; }
  void SetAutoScaleMode(Forms::AutoScaleMode mode) { autoScaleMode_ = mode; }
  FormStartPosition StartPosition() const { return startPosition_; }

 protected:
  // The toolkit's disposal hook: true when called by Dispose(), false from a finaliser.
  virtual void Dispose(bool disposing);
  // Derived windows must call this from their destructor, so that their override runs while
  // their members are still alive.
  void DisposeOnce();

 private:
  FormBorderStyle borderStyle_ = FormBorderStyle::Sizable;
  bool showInTaskbar_ = true;
  Drawing::SizeF autoScaleDimensions_;
  Forms::AutoScaleMode autoScaleMode_ = Forms::AutoScaleMode::Inherit;
  FormStartPosition startPosition_ = FormStartPosition::WindowsDefaultLocation;
  bool disposeCalled_ = false;
};

class Panel : public Control {};

// Shows an image 1:1 from its top-left corner.
class PictureBox : public Control {
 public:
  PictureBox();
  const std::shared_ptr<Drawing::Bitmap>& Image() const { return image_; }
  void SetImage(std::shared_ptr<Drawing::Bitmap> image);
  void BeginInit() { ++initialising_; }
  void EndInit() {
    if (initialising_ > 0) --initialising_;
  }

 protected:
  void OnPaint(const Win32::Canvas& canvas) override;

 private:
  std::shared_ptr<Drawing::Bitmap> image_;
  int initialising_ = 0;
};

}  // namespace Forms
