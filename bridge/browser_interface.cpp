#include "bridge/browser_interface.h"

#include "bridge/host_text.h"
#include "browser/brovis_form.h"
#include "browser/engine/call_budget.h"

namespace Brovis {

BrowserInterface::BrowserInterface() { CreateForm(); }

BrowserInterface::~BrowserInterface() { Dispose(); }

void BrowserInterface::CreateForm() {
  mybrowser = std::make_unique<BrovisForm>();
  // The window is fully transparent, so showing it puts nothing on a screen; it has to be shown
  // for the browser to lay out and paint the page.
  mybrowser->Show();
  mybrowser->SendToBack();
  if (!hwnd) hwnd = mybrowser->GetHandle();
}

bool BrowserInterface::RenderToDC(HDC hDC, int w, int h) {
  if (!mybrowser) return false;
  const Engine::CallBudget budget(kRedrawBudget);
  // On every redraw: displays of different sizes share the window.
  mybrowser->SetSize(w, h);
  if (!hwnd) hwnd = mybrowser->GetHandle();
  PrintWindow(*hwnd, hDC, 0);
  return true;
}

void BrowserInterface::Navigate(const char* str) {
  const Engine::CallBudget budget(kCommandBudget);
  if (mybrowser) mybrowser->Navigate(ToBrowserText(HostText(str)));
}

void BrowserInterface::NavigateBack() {
  const Engine::CallBudget budget(kCommandBudget);
  if (mybrowser) mybrowser->NavigateBack();
}

void BrowserInterface::NavigateForward() {
  const Engine::CallBudget budget(kCommandBudget);
  if (mybrowser) mybrowser->NavigateForward();
}

PageProgress BrowserInterface::Progress() {
  const Engine::CallBudget budget(kRedrawBudget);
  return mybrowser ? mybrowser->Progress() : PageProgress::NoPage;
}

bool BrowserInterface::PictureOwed(int w, int h) {
  const Engine::CallBudget budget(kRedrawBudget);
  return mybrowser && mybrowser->PictureOwed(w, h);
}

void BrowserInterface::CommandsFrom(int w, int h) {
  const Engine::CallBudget budget(kCommandBudget);
  if (mybrowser) mybrowser->CommandsFrom(w, h);
}

void BrowserInterface::Dispose() {
  mybrowser.reset();
  hwnd.reset();
}

}  // namespace Brovis
