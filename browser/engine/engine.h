#pragma once
// A browser engine as the web-browser control drives it: loads and history, the document, the
// view's size and pixels, and the events it raises. Events are only collected here; the control
// hands them to its handlers when the thread processes its messages.
#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "browser/engine/browser_text.h"
#include "browser/engine/dom.h"
#include "platform/win32/surface.h"

namespace Brovis::Engine {

enum class EventKind { NewWindow, DocumentCompleted, Invalidated };

struct EngineEvent {
  EventKind kind;
  BrowserText url;  // the window's or the document's address, where the event has one
  // A completion's number, to tell the engine when its handler has run.
  std::uint64_t completion = 0;
};

// Where the page is in its load, for a caller that waits for it: no page yet (a browser starting
// or starting again), loading (its top document, or a completion whose handler has not run yet:
// it will reset what the pilot does), or loaded.
enum class LoadProgress { NoPage, Loading, Loaded };

class Engine {
 public:
  virtual ~Engine() = default;

  // Starts a load and returns at once. An address without a scheme loads as http.
  virtual void navigate(BrowserTextView address) = 0;
  // One step in the history; false when there is no entry in that direction.
  virtual bool goBack() = 0;
  virtual bool goForward() = 0;
  // True while the page is loading: its top document, or its child documents for a short while.
  virtual bool isBusy() = 0;
  // True while the top document is loading; its child documents' loads do not count.
  virtual bool isLoadingDocument() = 0;
  virtual LoadProgress progress() = 0;
  // The handler of the DocumentCompleted event numbered `completion` has run.
  virtual void completionHandled(std::uint64_t completion) = 0;
  // The current document, or none.
  virtual std::shared_ptr<Document> document() = 0;

  // The size in pixels of the display drawn next: pictures are taken at it, and the page is laid
  // out at it unless displays of other sizes are drawn too (then it takes each display's size
  // when a picture of that size is taken).
  virtual void resize(int width, int height) = 0;
  // The commands that follow come from the display of the size given last: the page is laid out
  // at it first, whatever other displays are drawn.
  virtual void layOutForCommands() = 0;
  // The newest picture of the page at the size given last, or none before the first of that
  // size. When the page was changed through this interface after that picture, waits up to
  // `waitLimit` for one that shows the change.
  virtual const Win32::Surface* picture(std::chrono::milliseconds waitLimit) = 0;
  // A display of this size does not show the page as it stands yet.
  virtual bool pictureOwed(int width, int height) = 0;

  // Reads what the browser has sent, without blocking, and collects its events.
  virtual void poll() = 0;
  // The events collected since the last call, in arrival order.
  virtual std::vector<EngineEvent> takeEvents() = 0;
  // Readable when the browser has sent something; -1 when there is no browser.
  virtual int waitHandle() const = 0;
};

struct ChromiumOptions {
  // Each exchange with the page waits this long for its answer at most; a page that takes
  // longer is taken as hung.
  std::chrono::milliseconds callLimit{1500};
  // The browser renders only the frames the displays' redraws ask for. Off only to measure what a
  // page costs at the browser's own pace: no picture can be taken then.
  bool frameControl = true;
};

// Starts a headless Chromium in the background and returns at once: its page is attached, and
// the load asked for meanwhile started, once the browser is up. A browser that cannot be started
// is tried again; why it failed is written to standard error.
std::unique_ptr<Engine> StartChromium(const ChromiumOptions& options = {});

}  // namespace Brovis::Engine
