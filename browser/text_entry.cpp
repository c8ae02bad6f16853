// Text entry into the selected field: the typed text replaces or extends the field's value, as
// an assignment by the page's own script would, with no keystrokes simulated. Nothing else of
// the page changes: neither the selection, nor its outline, nor the scroll position.
#include "browser/brovis_form.h"
#include "browser/selectable.h"
#include "platform/forms/application.h"

namespace Brovis {

namespace {

enum class Entry { Replace, Append };

// Writes `str` into `field` (replacing or appending), then lets the page paint it and captures.
// The engine fails softly: a read or write it refuses ends the entry there, without a refresh.
// That is also what happens to a field of a page that is no longer shown, since the engine no
// longer reaches it; the page that is shown is left alone.
bool WriteValue(Engine::Element& field, BrowserTextView str, Entry entry) {
  const auto tag = field.tagName();
  if (!tag) return false;
  const BrowserText upper = UpperCaseTag(*tag);
  if (upper != u8"INPUT" && upper != u8"TEXTAREA") return true;
  if (entry == Entry::Replace) return field.setValue(str);
  const auto previous = field.value();
  if (!previous) return false;
  return field.setValue(*previous + BrowserText(str));
}

}  // namespace

void BrovisForm::setKeyboard(BrowserTextView str) {
  if (!selectedElement || !selectedElement->isTextEdit()) return;
  if (!WriteValue(*selectedElement, str, Entry::Replace)) return;
  Forms::Application::DoEvents();
  UpdateBitmap();
}

void BrovisForm::appendKeyboard(BrowserTextView str) {
  if (!selectedElement || !selectedElement->isTextEdit()) return;
  if (!WriteValue(*selectedElement, str, Entry::Append)) return;
  Forms::Application::DoEvents();
  UpdateBitmap();
}

}  // namespace Brovis
