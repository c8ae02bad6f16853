#pragma once
// Runs script commands against the simulator's displays and reports what the module answers.
#include <filesystem>
#include <istream>
#include <ostream>

#include "cockpit/script.h"
#include "cockpit/simulator.h"

namespace Cockpit {

class ScriptRunner {
 public:
  // Reports go to `out`; snapshots are written under `outDir`. Display 1 is the current one.
  ScriptRunner(Simulator& simulator, std::filesystem::path outDir, std::ostream& out);
  ~ScriptRunner();
  ScriptRunner(const ScriptRunner&) = delete;
  ScriptRunner& operator=(const ScriptRunner&) = delete;

  // Throws ScriptError.
  void Run(const Command& command);

 private:
  Display& Current();
  void PressButton(int button, int event);
  // Says on the output that a press the module took found no page, when it did not have one.
  void SayIfNoPage(bool hadPage, const std::string& press);
  void Type(const std::string& text);
  void Snap(const std::string& file);
  void Labels();
  void Menu();

  Simulator& simulator_;
  std::filesystem::path outDir_;
  std::ostream& out_;
  int current_ = 1;
  // The latest press opened an input box.
  bool boxOpened_ = false;
};

// Runs every line of `in`. Returns 0 when the script ran to its end; on the first error writes
// "line N: reason" to `err` and returns 2.
int RunScript(std::istream& in, ScriptRunner& runner, std::ostream& err);

}  // namespace Cockpit
