#pragma once
// The page functions' answers (page_scripts.h), decoded into the DOM's types. An answer comes as
// the protocol carries a value; one that is missing or of the wrong shape decodes to nothing,
// whatever it holds.
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "browser/engine/dom.h"

namespace Brovis::Engine {

using Json = nlohmann::json;

std::optional<BrowserText> DecodeText(const std::optional<Json>& answer);
// Page numbers are doubles; the DOM's integer properties truncate toward zero into 32 bits.
std::optional<std::int32_t> DecodeInt32(const std::optional<Json>& answer);
// Only the answer true is true.
bool DecodeTrue(const std::optional<Json>& answer);
// Whether a write may have changed the picture: anything but a plain false says it may.
bool DecodeChange(const Json& answer);

// kReadScroll: [root metrics, body metrics], each [height, width, top, left].
std::optional<PageScroll> DecodeScroll(const std::optional<Json>& answer);

// kWriteScroll: the metrics read before writing, and whether the writes changed any.
struct WrittenScroll {
  PageScroll before;
  bool changed = true;
};
std::optional<WrittenScroll> DecodeWrittenScroll(const std::optional<Json>& answer);

// kFacts: [kinds, entries] for at most `count` positions; see there. Positions passed over
// inside an element that is not shown come without a tag name. An element within reach that is
// not shown is no answer the page gives.
std::optional<std::vector<ElementFacts>> DecodeFacts(const std::optional<Json>& answer,
                                                     std::size_t count);

}  // namespace Brovis::Engine
