#pragma once
// The one directory a browser keeps everything in, in the system's temporary directory: its
// profile, its temporary files and its log. It is marked with its owner, this process, named by
// its id and its start time (a later process may get the same id), so that a later start can tell
// when the owner is dead: a host killed outright leaves its directory behind, and the next start
// removes it. Nothing that is not marked so is ever touched.
#include <optional>
#include <string>

namespace Brovis::Engine {

class BrowserDirectory {
 public:
  // Creates and marks a new directory; none on failure, with the reason in `error`.
  static std::optional<BrowserDirectory> Create(std::string& error);
  // Removes the marked directories whose owners are dead.
  static void RemoveOrphans();

  BrowserDirectory(BrowserDirectory&& other) noexcept;
  BrowserDirectory& operator=(BrowserDirectory&&) = delete;
  ~BrowserDirectory() { remove(); }

  const std::string& path() const { return path_; }
  std::string profile() const { return path_ + "/profile"; }
  std::string temporary() const { return path_ + "/tmp"; }
  std::string log() const { return path_ + "/browser.log"; }
  // Removes the directory with everything in it. Idempotent.
  void remove();

 private:
  explicit BrowserDirectory(std::string path) : path_(std::move(path)) {}

  std::string path_;
};

}  // namespace Brovis::Engine
