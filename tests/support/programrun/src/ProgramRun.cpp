#include "programrun/ProgramRun.h"

#include <sys/wait.h>

#include <array>
#include <cstdio>

namespace rvp::programrun {

RunResult run(const std::string& command) {
  RunResult result{-1, ""};
  FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return result;
  std::array<char, 4096> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) result.output.append(buffer.data(), n);
  int raw = pclose(pipe);
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return result;
}

}  // namespace rvp::programrun
