#pragma once
// One of the browser's events about the page's loads, read once, whatever its shape: which
// document it is of (the page's top document, or a child document in one of its iframes), the
// loader that carries it, its address and what happened.
#include <optional>
#include <string>
#include <string_view>

#include "browser/engine/chromium/protocol/protocol_json.h"

namespace Brovis::Engine {

struct LoadEvent {
  enum class Kind {
    Attached,             // an iframe was added to the page: a child document's place
    StartedLoading,       // the document started loading (its own load and its children's)
    StoppedLoading,       // ... and stopped
    Parsed,               // the top document's content is parsed (DOMContentLoaded)
    Loaded,               // the top document's own load event fired
    StartedNavigating,    // a navigation to another document started
    Committed,            // a document committed
    MovedWithinDocument,  // the document's address changed without a new document
    Detached,             // an iframe went away, with its document
  };

  Kind kind = Kind::Attached;
  // Empty for Parsed and Loaded, which are the top document's.
  std::string documentId;
  // Attached and Committed: whether it is a child document (in an iframe of the page).
  bool child = false;
  // StartedNavigating and Committed: the loader of the navigation.
  std::string loaderId;
  // Committed, MovedWithinDocument: the document's address (an error page's is the address it
  // stands for).
  std::string url;
  // Committed: the load failed, and an error page stands for the address.
  bool failed = false;
  // Committed: the document came back whole from the back-forward cache, its load long done.
  bool restored = false;
  // StartedNavigating: to a new address, not a reload or a step in the history.
  bool toNewAddress = false;
};

// The load event of `method`, none for any other event (and for the start of a navigation within
// the document, which changes nothing of the load).
std::optional<LoadEvent> ParseLoadEvent(std::string_view method, const Json& params);

}  // namespace Brovis::Engine
