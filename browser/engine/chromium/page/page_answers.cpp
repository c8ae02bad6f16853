#include "browser/engine/chromium/page/page_answers.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Brovis::Engine {

namespace {

// A metric that is not a number reads as 0, as the DOM gives it for an element without a box.
std::int32_t Int32Or0(const Json& value) { return DecodeInt32(value).value_or(0); }

std::optional<ScrollMetrics> DecodeMetrics(const Json& m) {
  if (!m.is_array() || m.size() != 4) return std::nullopt;
  return ScrollMetrics{Int32Or0(m[0]), Int32Or0(m[1]), Int32Or0(m[2]), Int32Or0(m[3])};
}

}  // namespace

std::optional<BrowserText> DecodeText(const std::optional<Json>& answer) {
  if (!answer || !answer->is_string()) return std::nullopt;
  return FromUtf8Bytes(answer->get_ref<const std::string&>());
}

std::optional<std::int32_t> DecodeInt32(const std::optional<Json>& answer) {
  if (!answer || !answer->is_number()) return std::nullopt;
  const double d = answer->get<double>();
  if (std::isnan(d)) return 0;
  if (d >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
    return std::numeric_limits<std::int32_t>::max();
  if (d <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
    return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(d);
}

bool DecodeTrue(const std::optional<Json>& answer) {
  return answer && answer->is_boolean() && answer->get<bool>();
}

bool DecodeChange(const Json& answer) { return !answer.is_boolean() || answer.get<bool>(); }

std::optional<PageScroll> DecodeScroll(const std::optional<Json>& answer) {
  if (!answer || !answer->is_array() || answer->size() != 2) return std::nullopt;
  const auto root = DecodeMetrics((*answer)[0]);
  const auto body = DecodeMetrics((*answer)[1]);
  if (!root || !body) return std::nullopt;
  return PageScroll{*root, *body};
}

std::optional<WrittenScroll> DecodeWrittenScroll(const std::optional<Json>& answer) {
  if (!answer || !answer->is_array() || answer->size() != 2) return std::nullopt;
  const auto before = DecodeScroll((*answer)[0]);
  if (!before) return std::nullopt;
  return WrittenScroll{*before, DecodeChange((*answer)[1])};
}

std::optional<std::vector<ElementFacts>> DecodeFacts(const std::optional<Json>& answer,
                                                     std::size_t count) {
  if (!answer || !answer->is_array() || answer->size() != 2) return std::nullopt;
  const Json& kinds = (*answer)[0];
  const Json& entries = (*answer)[1];
  if (!kinds.is_array() || !entries.is_array()) return std::nullopt;
  std::vector<ElementFacts> decoded;
  decoded.reserve(kinds.size());
  for (const Json& kind : kinds) {
    if (!kind.is_array() || kind.size() != 2 || !kind[0].is_string() ||
        !(kind[1].is_string() || kind[1].is_null()))
      return std::nullopt;
    ElementFacts facts;
    facts.tagName = FromUtf8Bytes(kind[0].get_ref<const std::string&>());
    if (kind[1].is_string()) facts.type = FromUtf8Bytes(kind[1].get_ref<const std::string&>());
    decoded.push_back(std::move(facts));
  }
  std::vector<ElementFacts> out;
  out.reserve(std::min(entries.size(), count));
  for (const Json& entry : entries) {
    if (entry.is_number_unsigned()) {
      // Four times the kind, plus 1 when shown and 2 more when also within reach.
      const std::uint64_t n = entry.get<std::uint64_t>();
      if (out.size() >= count || n / 4 >= decoded.size() || n % 4 == 2) return std::nullopt;
      out.push_back(decoded[static_cast<std::size_t>(n / 4)]);
      out.back().shown = n % 2 == 1;
      out.back().reachable = n % 4 == 3;
    } else if (entry.is_number_integer()) {
      // A run of positions passed over: -n, n >= 1.
      const std::uint64_t run = static_cast<std::uint64_t>(-(entry.get<std::int64_t>() + 1)) + 1;
      if (run > count - out.size()) return std::nullopt;
      out.resize(out.size() + static_cast<std::size_t>(run));
    } else {
      return std::nullopt;
    }
  }
  return out;
}

}  // namespace Brovis::Engine
