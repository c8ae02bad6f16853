#pragma once
// The bundled tour: the script in the demo folder, addressed to the pages beside it.
#include <filesystem>
#include <string>

namespace Cockpit {

// tour.cockpit from `folder`, with @PAGES@ replaced by the folder's file:// address. Throws
// std::runtime_error when the tour cannot be read.
std::string DemoTour(const std::filesystem::path& folder);

}  // namespace Cockpit
