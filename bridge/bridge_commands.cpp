// The bridge's page commands: guarded forwards to the window's page operations, with host text
// converted on the way.
#include "bridge/browser_interface.h"
#include "bridge/host_text.h"
#include "browser/brovis_form.h"

namespace Brovis {

std::optional<BrowserText> BrowserInterface::SelectNext() {
  if (!mybrowser) return std::nullopt;
  return mybrowser->selectNext();
}

std::optional<BrowserText> BrowserInterface::SelectPrevious() {
  if (!mybrowser) return std::nullopt;
  return mybrowser->selectPrevious();
}

void BrowserInterface::ClickElement() {
  if (mybrowser) mybrowser->clickElement();
}

void BrowserInterface::SetKeyboard(const char* str) {
  if (mybrowser) mybrowser->setKeyboard(ToBrowserText(HostText(str)));
}

void BrowserInterface::AppendKeyboard(const char* str) {
  if (mybrowser) mybrowser->appendKeyboard(ToBrowserText(HostText(str)));
}

void BrowserInterface::MoveUp() {
  if (mybrowser) mybrowser->moveUp();
}

void BrowserInterface::MoveDown() {
  if (mybrowser) mybrowser->moveDown();
}

void BrowserInterface::MoveLeft() {
  if (mybrowser) mybrowser->moveLeft();
}

void BrowserInterface::MoveRight() {
  if (mybrowser) mybrowser->moveRight();
}

}  // namespace Brovis
