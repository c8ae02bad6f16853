#pragma once
// Shows the failure notice in place of the empty document that the browser commits when a load
// of the page's top document fails (an address that refuses or does not resolve, a certificate
// refused), whichever way the load came: an address, a link, a form, a history step. The notice
// is written into the committed error document through that document's own script context: it
// stays the failed address's history entry, loads nothing, and can never land in a document that
// replaced it meanwhile. Downloads, loads the page stopped and loads replaced by another commit no
// document, so they show nothing. The browser tells its reason in its answer to a load of an
// address; for the other loads only its network events would, and those add about a third to its
// work on every page load, so their notices give none.
#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "browser/engine/chromium/navigation/navigation_sender.h"

namespace Brovis::Engine {

class FailedLoads {
 public:
  // The notice is sent through `sender`: the load is not over until it is in. `shown` runs
  // when it is.
  FailedLoads(NavigationSender& sender, std::function<void()> shown)
      : sender_(sender), shown_(std::move(shown)) {}

  // The browser's reason why the load whose document would commit with `loaderId` failed.
  void failed(const std::string& loaderId, std::string_view reason);
  // The top document committed: `failed` when it is an error page standing for `address`.
  void committed(const std::string& documentId, const std::string& loaderId,
                 const std::string& address, bool failed);
  // A script context was made (the browser's Runtime.executionContextCreated): the error
  // document's own takes the notice.
  void contextCreated(const Json& params);
  // A new browser: nothing is due.
  void forget();

  // Reasons remembered for their commit.
  static constexpr std::size_t kRemembered = 4;
  // The load is over when the notice is in, or after this long without the browser's answer.
  static constexpr std::chrono::milliseconds kWriteLimit{1500};

 private:
  struct Failure {
    std::string loaderId;
    std::string reason;
  };
  struct Notice {
    std::string documentId;
    std::string address;
    std::string reason;
  };

  NavigationSender& sender_;
  std::function<void()> shown_;
  std::deque<Failure> failures_;
  // The top document a failed load committed, until its script context is known.
  std::optional<Notice> due_;
};

}  // namespace Brovis::Engine
