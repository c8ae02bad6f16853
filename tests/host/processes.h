#pragma once
// Looking at this test's child processes, to see what the browser leaves behind.
#include <optional>
#include <string>
#include <vector>

namespace BrovisTest {

// Browser processes started by this process itself.
std::vector<int> BrowserChildren();
// `pid` and every process below it.
std::vector<int> ProcessTree(int pid);
// Running or sleeping: not gone and not a zombie.
bool Alive(int pid);
// The process's arguments, separated by blanks; empty when it has gone.
std::string CommandLine(int pid);
// The profile directory named on the process's command line, if any.
std::optional<std::string> ProfileDirectory(int pid);

}  // namespace BrovisTest
