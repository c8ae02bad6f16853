#include "tests/support/busy_loops.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

namespace BrovisTest {

BusyLoops::BusyLoops(int count) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  char program[] = "yes";
  char* argv[] = {program, nullptr};
  char* envp[] = {nullptr};
  for (int i = 0; i < count; ++i) {
    pid_t pid = 0;
    if (posix_spawnp(&pid, program, &actions, nullptr, argv, envp) == 0) pids_.push_back(pid);
  }
  posix_spawn_file_actions_destroy(&actions);
}

BusyLoops::~BusyLoops() {
  for (int pid : pids_) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
}

}  // namespace BrovisTest
