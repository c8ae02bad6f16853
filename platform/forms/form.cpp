#include "platform/forms/form.h"

namespace Forms {

Form::Form() { Hide(); }

Form::~Form() { DisposeOnce(); }

void Form::Dispose(bool) { Control::Dispose(); }

void Form::DisposeOnce() {
  if (disposeCalled_) return;
  disposeCalled_ = true;
  Dispose(true);
}

PictureBox::PictureBox() { SetTabStop(false); }

void PictureBox::SetImage(std::shared_ptr<Drawing::Bitmap> image) {
  image_ = std::move(image);
  Invalidate();
}

void PictureBox::OnPaint(const Win32::Canvas& canvas) {
  const Size size = GetSize();
  if (!image_) {
    canvas.fill({0, 0, size.Width, size.Height}, kControlColour);
    return;
  }
  const Win32::Surface& pixels = image_->surface();
  if (pixels.width() < size.Width)
    canvas.fill({pixels.width(), 0, size.Width, size.Height}, kControlColour);
  if (pixels.height() < size.Height)
    canvas.fill({0, pixels.height(), size.Width, size.Height}, kControlColour);
  canvas.blit(pixels, 0, 0);
}

}  // namespace Forms
