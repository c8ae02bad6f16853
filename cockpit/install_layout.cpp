#include "cockpit/install_layout.h"

namespace Cockpit {

namespace {

// The folder holding the running program, symbolic links resolved; empty when unknown.
std::filesystem::path ProgramFolder() {
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::filesystem::path() : program.parent_path();
}

}  // namespace

std::filesystem::path DefaultModule() {
  const auto folder = ProgramFolder();
  // Without a folder of its own, the library search path is all there is.
  if (folder.empty()) return "Brovis.so";
  std::error_code error;
  if (std::filesystem::exists(folder / "Brovis.so", error)) return folder / "Brovis.so";
  return folder.parent_path() / "lib" / "brovis" / "Brovis.so";
}

std::filesystem::path DemoFolder() {
  return ProgramFolder().parent_path() / "share" / "brovis" / "demo";
}

}  // namespace Cockpit
