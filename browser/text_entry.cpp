// Text entry into the selected field: the typed text replaces or extends the field's value, as
// an assignment by the page's own script would, with no keystrokes simulated; then the page is
// told, as of text inserted, so that a page that keeps its own record of the field's value
// (a framework's) sends what the field shows. Nothing else of the page changes by the entry
// itself: neither the selection, nor its outline, nor the scroll position.
#include "browser/brovis_form.h"
#include "browser/selectable.h"
#include "platform/forms/application.h"

namespace Brovis {

namespace {

using Engine::TextEntry;

// Writes `str` into `field` (replacing or appending); the caller then lets the page paint it
// and captures. The engine fails softly: a write it refuses ends the entry there, without a
// refresh. That is also what happens to a field of a page that is no longer shown, since the
// engine no longer reaches it; the page that is shown is left alone. A handler of the entry's
// events that does not return in time ends it the same way, with the text written: the page's
// script is stopped as any that holds a call is.
bool WriteValue(Engine::Element& field, BrowserTextView str, TextEntry entry) {
  const auto tag = field.tagName();
  if (!tag) return false;
  const BrowserText upper = UpperCaseTag(*tag);
  if (upper != u8"INPUT" && upper != u8"TEXTAREA") return true;
  return field.enterText(str, entry);
}

}  // namespace

void BrovisForm::setKeyboard(BrowserTextView str) {
  if (!selectedElement || !selectedElement->isTextEdit()) return;
  if (!WriteValue(*selectedElement, str, TextEntry::Replace)) return;
  Forms::Application::DoEvents();
  UpdateBitmap();
}

void BrovisForm::appendKeyboard(BrowserTextView str) {
  if (!selectedElement || !selectedElement->isTextEdit()) return;
  if (!WriteValue(*selectedElement, str, TextEntry::Append)) return;
  Forms::Application::DoEvents();
  UpdateBitmap();
}

}  // namespace Brovis
