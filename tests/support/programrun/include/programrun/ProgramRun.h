#pragma once
// A test program run as a child through the shell, for tests that check what a whole program does.
#include <string>

namespace rvp::programrun {

struct RunResult {
  int status;          // exit status, or -1 when the program could not be started or did not exit
  std::string output;  // standard output and standard error together
};

// Runs `command` with its standard error joined to its standard output and waits for it to end.
RunResult run(const std::string& command);

}  // namespace rvp::programrun
