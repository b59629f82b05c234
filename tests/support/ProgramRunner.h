#pragma once

#include <sys/types.h>

#include <string>
#include <thread>
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

// Makes a sample device of the given profile under host_root, over whatever was there; options
// are more of the generator's (e.g. "--first-boot"). The device is made once and copied after.
ProgramResult MakeSampleDevice(const std::string& host_root, const std::string& profile,
                               const std::vector<std::string>& options = {});

// A program that runs beside the test (a display server, the home screen in a window) until it
// ends or is stopped; its output is collected. Stopped (SIGTERM, then SIGKILL) when destroyed.
class BackgroundProgram {
 public:
  BackgroundProgram(const std::string& program, const std::vector<std::string>& arguments,
                    const std::vector<std::string>& environment);
  ~BackgroundProgram();
  BackgroundProgram(const BackgroundProgram&) = delete;
  BackgroundProgram& operator=(const BackgroundProgram&) = delete;

  bool Running() const;
  // Waits for the end up to timeout_ms (killing it then).
  ProgramResult Wait(int timeout_ms);
  void Stop();

 private:
  pid_t pid_ = -1;
  int fd_ = -1;
  bool finished_ = false;
  std::thread reader_;
  ProgramResult result_;
};

}  // namespace marrowleaf::test
