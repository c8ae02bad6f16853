// The bridge's page commands: guarded forwards to the window's page operations, with host text
// converted on the way, each within the command budget.
#include "bridge/browser_interface.h"
#include "bridge/host_text.h"
#include "browser/brovis_form.h"
#include "browser/engine/call_budget.h"

namespace Brovis {

std::optional<BrowserText> BrowserInterface::SelectNext() {
  const Engine::CallBudget budget(kCommandBudget);
  if (!mybrowser) return std::nullopt;
  return mybrowser->selectNext();
}

std::optional<BrowserText> BrowserInterface::SelectPrevious() {
  const Engine::CallBudget budget(kCommandBudget);
  if (!mybrowser) return std::nullopt;
  return mybrowser->selectPrevious();
}

void BrowserInterface::ClickElement() {
  const Engine::CallBudget budget(kCommandBudget);
  if (mybrowser) mybrowser->clickElement();
}

void BrowserInterface::SetKeyboard(const char* str) {
  const Engine::CallBudget budget(kCommandBudget);
  if (mybrowser) mybrowser->setKeyboard(ToBrowserText(HostText(str)));
}

void BrowserInterface::AppendKeyboard(const char* str) {
  const Engine::CallBudget budget(kCommandBudget);
  if (mybrowser) mybrowser->appendKeyboard(ToBrowserText(HostText(str)));
}

void BrowserInterface::MoveUp() {
  const Engine::CallBudget budget(kCommandBudget);
  if (mybrowser) mybrowser->moveUp();
}

void BrowserInterface::MoveDown() {
  const Engine::CallBudget budget(kCommandBudget);
  if (mybrowser) mybrowser->moveDown();
}

void BrowserInterface::MoveLeft() {
  const Engine::CallBudget budget(kCommandBudget);
  if (mybrowser) mybrowser->moveLeft();
}

void BrowserInterface::MoveRight() {
  const Engine::CallBudget budget(kCommandBudget);
  if (mybrowser) mybrowser->moveRight();
}

}  // namespace Brovis
