#include "browser/engine/chromium/navigation/failed_loads.h"

#include <utility>

#include "browser/engine/chromium/navigation/failed_load_notice.h"

namespace Brovis::Engine {

void FailedLoads::failed(const std::string& loaderId, std::string_view reason) {
  if (failures_.size() == kRemembered) failures_.pop_front();
  // Anything longer is cut to the same limit in the notice.
  failures_.push_back({loaderId, std::string(reason.substr(0, kNoticeReasonLimit + 1))});
}

void FailedLoads::committed(const std::string& documentId, const std::string& loaderId,
                            const std::string& address, bool failed) {
  // Any new top document: a notice still due belonged to the one before.
  due_.reset();
  if (!failed || address.empty()) return;
  std::string reason;
  for (const Failure& failure : failures_)
    if (failure.loaderId == loaderId) reason = failure.reason;
  due_ = Notice{documentId, address.substr(0, kNoticeAddressLimit + 1), std::move(reason)};
}

void FailedLoads::contextCreated(const Json& params) {
  if (!due_) return;
  // The error document's own context follows its commit.
  const Json context = Field(params, "context", Json::object());
  const Json aux = Field(context, "auxData", Json::object());
  if (!Field(aux, "isDefault", false) || Field(aux, "frameId", "") != due_->documentId) return;
  // Without its id the call would reach whichever document is there by then.
  const std::string contextId = Field(context, "uniqueId", "");
  if (contextId.empty()) return;
  const Notice notice = *std::exchange(due_, std::nullopt);
  const Json html = FailedLoadNotice(notice.address, notice.reason);
  const std::string expression = "document.open();document.write(" +
                                 html.dump(-1, ' ', false, Json::error_handler_t::replace) +
                                 ");document.close()";
  // The context belongs to the error document alone: once another document replaced it, the
  // browser no longer knows it and the call fails.
  sender_.navigate(
      "Runtime.evaluate", {{"expression", expression}, {"uniqueContextId", contextId}},
      [this](const CallResult& answer) {
        if (answer && shown_) shown_();
      },
      kWriteLimit);
}

void FailedLoads::forget() {
  failures_.clear();
  due_.reset();
}

}  // namespace Brovis::Engine
