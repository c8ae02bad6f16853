#include "cockpit/demo_tour.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string_view>

namespace Cockpit {

namespace {

// The file:// address of an absolute path: every byte but the unreserved characters and '/'
// percent-encoded, so that any folder name makes one word of the script.
std::string FileAddress(const std::filesystem::path& path) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string address = "file://";
  for (const char c : path.string()) {
    const auto byte = static_cast<unsigned char>(c);
    const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                       (byte >= '0' && byte <= '9') ||
                       std::string_view("-._~/").find(c) != std::string_view::npos;
    if (plain) {
      address += c;
    } else {
      address += '%';
      address += kHex[byte >> 4];
      address += kHex[byte & 0xF];
    }
  }
  return address;
}

}  // namespace

std::string DemoTour(const std::filesystem::path& folder) {
  std::ifstream in(folder / "tour.cockpit", std::ios::binary);
  if (!in)
    throw std::runtime_error("cannot read the demo tour " + (folder / "tour.cockpit").string());
  std::string tour{std::istreambuf_iterator<char>(in), {}};
  static constexpr std::string_view kPages = "@PAGES@";
  std::error_code error;
  const auto absolute = std::filesystem::weakly_canonical(folder, error);
  const std::string pages = FileAddress(error ? folder : absolute);
  for (auto at = tour.find(kPages); at != std::string::npos;
       at = tour.find(kPages, at + pages.size()))
    tour.replace(at, kPages.size(), pages);
  return tour;
}

}  // namespace Cockpit
