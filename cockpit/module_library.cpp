#include "cockpit/module_library.h"

#include <dlfcn.h>

#include <stdexcept>

namespace Cockpit {

namespace {
std::string LastError() {
  const char* error = dlerror();
  return error ? error : "unknown error";
}
}  // namespace

ModuleLibrary::ModuleLibrary(const std::string& path)
    : handle_(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (!handle_) throw std::runtime_error("cannot load module: " + LastError());
  init_ = reinterpret_cast<Entry>(dlsym(handle_, "InitModule"));
  exit_ = reinterpret_cast<Entry>(dlsym(handle_, "ExitModule"));
  if (!init_ || !exit_) {
    dlclose(handle_);
    throw std::runtime_error("not a module (no InitModule or ExitModule): " + path);
  }
  // Optional: the simulator's own modules have no such entry point.
  progress_ = reinterpret_cast<ProgressEntry>(dlsym(handle_, "BrovisPageProgress"));
  picturesOwed_ = reinterpret_cast<ProgressEntry>(dlsym(handle_, "BrovisPicturesOwed"));
}

ModuleLibrary::~ModuleLibrary() { dlclose(handle_); }

// The simulator hands over the module's instance handle; the handle of the loaded library serves.
void ModuleLibrary::Init() { init_(static_cast<HINSTANCE>(handle_)); }

void ModuleLibrary::Exit() { exit_(static_cast<HINSTANCE>(handle_)); }

Brovis::PageProgress ModuleLibrary::Progress() const {
  return progress_ ? static_cast<Brovis::PageProgress>(progress_()) : Brovis::PageProgress::Loaded;
}

int ModuleLibrary::PicturesOwed() const { return picturesOwed_ ? picturesOwed_() : 0; }

}  // namespace Cockpit
