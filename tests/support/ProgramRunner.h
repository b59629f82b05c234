#pragma once

#include <string>
#include <vector>

namespace marrowleaf::test {

struct ProgramResult {
  int exit_status = -1;  // -1 when killed or timed out
  bool timed_out = false;
  std::string output;  // standard output and error together
};

// Runs a built program (from MARROWLEAF_BIN_DIR when the name has no slash) as a real child
// process, with this process's environment changed by the given entries ("NAME=value" sets a
// variable, a bare "NAME" removes it), waits up to timeout_ms and collects its standard output and
// error together.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         const std::vector<std::string>& environment, int timeout_ms = 60000);

}  // namespace marrowleaf::test
