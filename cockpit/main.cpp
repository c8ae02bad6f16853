// brovis-cockpit: plays the simulator for the module. Loads it, opens displays in its mode, runs
// the frame loop, and plays the pilot from a script, headless, or lets a pilot fly it in a
// window (--window). --demo plays the tour that comes with it.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cockpit/demo_tour.h"
#include "cockpit/install_layout.h"
#include "cockpit/module_library.h"
#include "cockpit/options.h"
#include "cockpit/script_runner.h"
#include "cockpit/simulator.h"
#include "cockpit/window/cockpit_window.h"

namespace {

// Pages may reach this machine only: every other address goes to a closed loopback port.
void GoOffline() {
  setenv("all_proxy", "http://127.0.0.1:9", 1);
  for (const char* name : {"http_proxy", "https_proxy", "no_proxy", "HTTP_PROXY", "HTTPS_PROXY",
                           "NO_PROXY", "ALL_PROXY"})
    unsetenv(name);
}

int Run(const Cockpit::Options& options, std::istream& script) {
  Cockpit::ModuleLibrary module(options.module.empty() ? Cockpit::DefaultModule().string()
                                                       : options.module);
  module.Init();
  const auto modes = OrbiterHost::RegisteredModes();
  if (modes.empty()) {
    std::cerr << "brovis-cockpit: the module registered no mode" << std::endl;
    module.Exit();
    return 1;
  }
  int status = 0;
  {
    Cockpit::Simulator simulator(modes.front(),
                                 std::chrono::milliseconds(options.refreshMilliseconds));
    try {
      if (options.window) {
        Cockpit::CockpitWindow window(simulator, {options.displays, options.width, options.height});
        window.Run();
      } else {
        simulator.setProgress([&module] { return module.Progress(); },
                              [&module] { return module.PicturesOwed(); });
        Cockpit::ScriptRunner runner(simulator, options.outDir, std::cout);
        simulator.Open(1, options.width, options.height);
        status = Cockpit::RunScript(script, runner, std::cerr);
      }
    } catch (const Cockpit::ScriptError& e) {
      std::cerr << "brovis-cockpit: " << e.what() << std::endl;
      status = 1;
    } catch (const std::runtime_error& e) {
      std::cerr << "brovis-cockpit: " << e.what() << std::endl;
      status = 1;
    }
    // The displays go before the module: their code is in it.
  }
  module.Exit();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Cockpit::Options options;
  try {
    options = Cockpit::ParseOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const Cockpit::UsageError& e) {
    std::cerr << "brovis-cockpit: " << e.what() << '\n' << Cockpit::kUsage << std::endl;
    return 2;
  }
  if (options.answer) {
    std::cout << *options.answer << std::flush;
    return 0;
  }
  if (options.offline) GoOffline();

  std::ifstream file;
  std::istringstream text;  // the demo's tour; empty without a script
  std::istream* script = &text;
  if (options.demo) {
    try {
      text.str(Cockpit::DemoTour(Cockpit::DemoFolder()));
    } catch (const std::runtime_error& e) {
      std::cerr << "brovis-cockpit: " << e.what() << std::endl;
      return 2;
    }
  } else if (options.script && *options.script == "-") {
    script = &std::cin;
  } else if (options.script) {
    file.open(*options.script);
    if (!file) {
      std::cerr << "brovis-cockpit: cannot read " << *options.script << std::endl;
      return 2;
    }
    script = &file;
  }

  try {
    return Run(options, *script);
  } catch (const std::exception& e) {
    std::cerr << "brovis-cockpit: " << e.what() << std::endl;
    return 1;
  }
}
