// Scrolling in fixed steps: each move reads the page's offsets into the stored position first
// (the page may have scrolled by itself), steps the stored position, and lets the refresh write
// it into the page. The stored position changes even when nothing can reach the page (no
// document, or a load in progress); the end of a load resets it.
#include "browser/brovis_form.h"
#include "browser/scroll_step.h"

namespace Brovis {

void BrovisForm::moveUp() {
  UpdateScroll();
  if (const auto next = StepTowardStart(yPos, ySize)) {
    yPos = *next;
    UpdateBitmap();
  }
}

void BrovisForm::moveLeft() {
  UpdateScroll();
  if (const auto next = StepTowardStart(xPos, xSize)) {
    xPos = *next;
    UpdateBitmap();
  }
}

void BrovisForm::moveDown() {
  UpdateScroll();
  if (const auto next = StepTowardEnd(yPos, ySize, yMax)) {
    yPos = *next;
    UpdateBitmap();
  }
}

void BrovisForm::moveRight() {
  UpdateScroll();
  if (const auto next = StepTowardEnd(xPos, xSize, xMax)) {
    xPos = *next;
    UpdateBitmap();
  }
}

}  // namespace Brovis
