#pragma once
// How far the browser is with the page, as a host that plays the pilot from a script waits for
// it. The values cross the module's boundary as plain integers.
namespace Brovis {

enum class PageProgress : int {
  NoPage = 0,   // no browser yet, or one starting again: a command reaches no page
  Loading = 1,  // the top document is loading
  Loaded = 2,   // the page answers; its frames may still be loading
};

}  // namespace Brovis
