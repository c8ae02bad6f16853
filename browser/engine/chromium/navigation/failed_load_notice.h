#pragma once
// The page the display shows in place of a top document that could not be loaded: the address
// and the browser's reason, in a document of its own that runs no script and fetches nothing.
#include <cstddef>
#include <string>
#include <string_view>

namespace Brovis::Engine {

// Longest address and reason shown, in bytes; a longer one is cut at a character and ends in an
// ellipsis. An address this long already fills most of a small display.
constexpr std::size_t kNoticeAddressLimit = 200;
constexpr std::size_t kNoticeReasonLimit = 100;

// The notice's HTML. Both texts come from the browser and are taken as untrusted: they are cut
// to their limits and escaped. An empty reason reads as a generic one.
std::string FailedLoadNotice(std::string_view address, std::string_view reason);

}  // namespace Brovis::Engine
