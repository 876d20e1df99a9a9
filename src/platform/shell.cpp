#include "platform/shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

namespace quorvel::platform {

bool ShellOpen(const char* address) {
  char program[] = "xdg-open";
  char* argv[] = {program, const_cast<char*>(address), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, program, nullptr, nullptr, argv, environ) != 0) return false;
  // The caller does not wait; a small reaper collects the child so no zombie is left behind.
  std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
  return true;
}

}  // namespace quorvel::platform
