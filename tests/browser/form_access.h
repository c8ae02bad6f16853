#pragma once
// A look inside the browser window for tests: its private fields and controls, and its private
// operations, exactly as the window itself sees them.
#include "browser/brovis_form.h"
#include "browser/engine/engine_diagnostics.h"

namespace Brovis {

class BrovisFormTestAccess {
 public:
  explicit BrovisFormTestAccess(BrovisForm& form) : f_(form) {}

  float xPos() const { return f_.xPos; }
  float yPos() const { return f_.yPos; }
  void setPos(float x, float y) {
    f_.xPos = x;
    f_.yPos = y;
  }
  std::int32_t xMax() const { return f_.xMax; }
  std::int32_t yMax() const { return f_.yMax; }
  void setMax(std::int32_t x, std::int32_t y) {
    f_.xMax = x;
    f_.yMax = y;
  }
  std::int32_t xSize() const { return f_.xSize; }
  std::int32_t ySize() const { return f_.ySize; }
  std::int32_t selectedIndex() const { return f_.selectedIndex; }
  void setSelectedIndex(std::int32_t i) { f_.selectedIndex = i; }
  const Engine::ElementRef& selectedElement() const { return f_.selectedElement; }
  const std::shared_ptr<Drawing::Bitmap>& bm() const { return f_.bm; }

  WebBrowser& browser() { return *f_.webBrowser1; }
  // The engine's diagnostics; null without an engine.
  Engine::EngineDiagnostics* diagnostics() {
    return Engine::DiagnosticsOf(f_.webBrowser1->engine());
  }
  Forms::PictureBox& pictureBox() { return *f_.pictureBox1; }
  Forms::Panel& panel() { return *f_.panel1; }

  void UpdateScroll() { f_.UpdateScroll(); }
  void UpdatePaging() { f_.UpdatePaging(); }
  void UpdateBitmap() { f_.UpdateBitmap(); }

 private:
  BrovisForm& f_;
};

}  // namespace Brovis
