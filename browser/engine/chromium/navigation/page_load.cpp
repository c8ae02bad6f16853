#include "browser/engine/chromium/navigation/page_load.h"

#include <algorithm>

namespace Brovis::Engine {

std::vector<LoadChange> PageLoad::handle(const LoadEvent& event, Clock::time_point now) {
  using Kind = LoadEvent::Kind;
  std::vector<LoadChange> changes;
  const bool ofTop = event.kind == Kind::Parsed || event.kind == Kind::Loaded;
  if (!ofTop && event.documentId.empty()) return changes;
  switch (event.kind) {
    case Kind::Attached:
      documents_[event.documentId].child = true;
      break;
    case Kind::StartedLoading: {
      Document& document = documents_[event.documentId];
      if (!document.loading) document.parsed = document.loaded = false;
      document.loading = true;
      break;
    }
    case Kind::StoppedLoading: {
      const auto it = documents_.find(event.documentId);
      if (it == documents_.end()) break;
      complete(it->second, changes);
      it->second.loading = it->second.committed = it->second.completed = false;
      it->second.navigating = false;
      break;
    }
    case Kind::Parsed:
    case Kind::Loaded:
      // The top document's own: child documents it added later may still be loading.
      for (auto& [id, document] : documents_) {
        if (document.child) continue;
        if (event.kind == Kind::Parsed) {
          document.parsed = true;
        } else {
          document.loaded = true;
          complete(document, changes);
        }
      }
      break;
    case Kind::StartedNavigating: {
      Document& document = documents_[event.documentId];
      document.navigating = true;
      if (!document.child && event.toNewAddress)
        changes.push_back({LoadChange::Kind::StartedNavigating, true, event.loaderId, {}});
      break;
    }
    case Kind::Committed: {
      Document& document = documents_[event.documentId];
      document.child = event.child;
      document.navigating = document.completed = document.parsed = document.loaded = false;
      document.committed = true;
      document.url = event.url;
      if (!document.child) {
        committedUrl_ = event.url;
        changes.push_back({LoadChange::Kind::Committed, true, event.loaderId, event.url,
                           event.failed, event.documentId});
      }
      // A page kept whole from before comes back complete; its load stopped before this commit.
      if (event.restored) {
        document.loaded = true;
        complete(document, changes);
      }
      break;
    }
    case Kind::MovedWithinDocument: {
      const auto it = documents_.find(event.documentId);
      if (it == documents_.end() || it->second.child) break;
      committedUrl_ = event.url;
      changes.push_back({LoadChange::Kind::MovedWithinDocument, true, {}, event.url});
      break;
    }
    case Kind::Detached:
      documents_.erase(event.documentId);
      break;
  }
  noteChildrenLoading(now);
  return changes;
}

void PageLoad::navigationAnswered() {
  if (navigationsInFlight_ > 0) --navigationsInFlight_;
}

void PageLoad::complete(Document& document, std::vector<LoadChange>& changes) {
  if (!document.committed || document.navigating || document.completed) return;
  document.completed = true;
  changes.push_back({LoadChange::Kind::Completed,
                     !document.child,
                     {},
                     document.url,
                     false,
                     {},
                     ++lastCompletion_});
}

void PageLoad::completionHandled(std::uint64_t completion) {
  handledCompletion_ = std::max(handledCompletion_, std::min(completion, lastCompletion_));
}

void PageLoad::forget() {
  const std::uint64_t last = lastCompletion_, handled = handledCompletion_;
  *this = PageLoad();
  lastCompletion_ = last;
  handledCompletion_ = handled;
}

const PageLoad::Document* PageLoad::top() const {
  for (const auto& [id, document] : documents_)
    if (!document.child && document.loading) return &document;
  return nullptr;
}

bool PageLoad::childrenLoading() const {
  return std::ranges::any_of(documents_,
                             [](const auto& d) { return d.second.child && d.second.loading; });
}

void PageLoad::noteChildrenLoading(Clock::time_point now) {
  const bool loading = childrenLoading();
  // A child that stops and starts again, or another that takes over, continues the stretch.
  if (loading && !childrenWereLoading_ && now - childrenQuietSince_ >= kChildBusyLimit)
    childrenLoadingSince_ = now;
  if (!loading && childrenWereLoading_) childrenQuietSince_ = now;
  childrenWereLoading_ = loading;
}

PageLoad::Stage PageLoad::stage() const {
  if (requested()) return Stage::Requested;
  const Document* document = top();
  if (!document || document->loaded) return Stage::Loaded;
  if (document->parsed) return Stage::Parsed;
  return document->committed ? Stage::Committed : Stage::Requested;
}

bool PageLoad::loadingDocument() const {
  switch (stage()) {
    case Stage::Loaded:
      return false;
    case Stage::Parsed:
      return !childrenLoading();
    default:
      return true;
  }
}

bool PageLoad::busy(Clock::time_point now) const {
  return loadingDocument() || (childrenLoading() && now - childrenLoadingSince_ < kChildBusyLimit);
}

}  // namespace Brovis::Engine
