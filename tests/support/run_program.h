#pragma once

// Runs a program to its end and collects what it printed, for tests of whole program runs.

#include <string>
#include <vector>

namespace quorvel::testing {

struct ProgramResult {
  int exit_status = -1;  // -1 when it did not exit normally
  std::string out;       // standard output
  std::string err;       // standard error
};

// Runs argv (argv[0] a path) to its end, killing it after timeout_seconds.
ProgramResult RunProgram(const std::vector<std::string>& argv, int timeout_seconds = 60);

}  // namespace quorvel::testing
