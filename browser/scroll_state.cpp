// The window's scroll record and the page: reading the page's offsets and extents into the
// record, and writing the record into the page.
#include <cmath>
#include <limits>

#include "browser/brovis_form.h"
#include "browser/scroll_math.h"
#include "platform/forms/application.h"

namespace Brovis {

float ToScrollPosition(std::int32_t offset, std::int32_t unit) {
  return static_cast<float>(static_cast<double>(static_cast<float>(offset)) /
                            static_cast<double>(static_cast<float>(unit)));
}

std::int32_t ToScrollOffset(float position, std::int32_t unit) {
  const double product =
      static_cast<double>(static_cast<float>(unit)) * static_cast<double>(position);
  // Out-of-range values cannot come from a page's offsets; they are pinned, not undefined.
  if (std::isnan(product)) return 0;
  if (product >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (product <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(product);
}

float ToKeptScrollPosition(std::int32_t offset, std::int32_t unit) {
  const float position = ToScrollPosition(offset, unit);
  if (ToScrollOffset(position, unit) == offset) return position;
  // Rounded to just short of the offset, the product truncates to the pixel before it; the next
  // single-precision value outward reaches the offset without passing it.
  const float outward =
      std::nextafter(position, (offset < 0 ? -1 : 1) * std::numeric_limits<float>::infinity());
  return ToScrollOffset(outward, unit) == offset ? outward : position;
}

void BrovisForm::ReadExtents(const Engine::PageScroll& scroll) {
  yMax = scroll.root.scrollHeight;
  xMax = scroll.root.scrollWidth;
  if (scroll.body.scrollHeight > yMax) yMax = scroll.body.scrollHeight;
  if (scroll.body.scrollWidth > xMax) xMax = scroll.body.scrollWidth;
}

void BrovisForm::UpdateScroll() { ReadScroll(ToScrollPosition); }

void BrovisForm::KeepScroll() { ReadScroll(ToKeptScrollPosition); }

void BrovisForm::ReadScroll(float (*toPosition)(std::int32_t offset, std::int32_t unit)) {
  if (!webBrowser1) return;
  const auto document = webBrowser1->Document();
  if (!document) return;
  const auto scroll = document->readScroll();
  if (!scroll) return;
  ReadExtents(*scroll);
  // The body's offset, unless it reports 0 and the root does not: whichever element scrolls
  // the page in this document's mode.
  std::int32_t vertical = scroll->body.scrollTop;
  if (vertical == 0 && scroll->root.scrollTop != 0) vertical = scroll->root.scrollTop;
  std::int32_t horizontal = scroll->body.scrollLeft;
  if (horizontal == 0 && scroll->root.scrollLeft != 0) horizontal = scroll->root.scrollLeft;
  yPos = toPosition(vertical, ySize);
  xPos = toPosition(horizontal, xSize);
}

void BrovisForm::UpdatePaging() {
  if (!webBrowser1) return;
  const auto document = webBrowser1->Document();
  // A load of the top document resets the position when it completes; a frame's does not, so
  // its loads never hold the pilot's scroll.
  if (document && !webBrowser1->IsLoadingDocument()) {
    const auto scroll =
        document->writeScroll(ToScrollOffset(yPos, ySize), ToScrollOffset(xPos, xSize));
    if (scroll) ReadExtents(*scroll);
  }
  Forms::Application::DoEvents();
}

}  // namespace Brovis
