#pragma once
// A module loaded as the simulator loads its plug-ins: opened with its symbols resolved at once,
// entered through InitModule, left through ExitModule, and unloaded.
#include <string>

#include "browser/page_progress.h"
#include "platform/win32/win32.h"

namespace Cockpit {

class ModuleLibrary {
 public:
  // Throws std::runtime_error when the library cannot be opened or lacks an entry point.
  explicit ModuleLibrary(const std::string& path);
  // Unloads the library. Every object the module made must be gone by then.
  ~ModuleLibrary();
  ModuleLibrary(const ModuleLibrary&) = delete;
  ModuleLibrary& operator=(const ModuleLibrary&) = delete;

  void Init();
  void Exit();
  // How far the module's browser is with its page; a module that cannot tell is taken as
  // always loaded.
  Brovis::PageProgress Progress() const;
  // How many of the mode's open displays do not show the page as it stands yet; none for a module
  // that cannot tell.
  int PicturesOwed() const;

 private:
  using Entry = void (*)(HINSTANCE);
  using ProgressEntry = int (*)();
  void* handle_;
  Entry init_ = nullptr;
  Entry exit_ = nullptr;
  ProgressEntry progress_ = nullptr;
  ProgressEntry picturesOwed_ = nullptr;
};

}  // namespace Cockpit
