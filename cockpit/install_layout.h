#pragma once
// Where the program finds what it brings, from its own location, so that a build tree and an
// installed or unpacked tree work wherever they are. Installed: bin/brovis-cockpit,
// lib/brovis/Brovis.so and share/brovis/demo/. A build tree holds the module beside the program
// and the demo under share/brovis/demo/ as well.
#include <filesystem>

namespace Cockpit {

// Brovis.so beside the program where there is one, else lib/brovis/Brovis.so of its tree.
std::filesystem::path DefaultModule();
// share/brovis/demo/ of the program's tree.
std::filesystem::path DemoFolder();

}  // namespace Cockpit
