// The sample device the benchmarks run on, made once per program by the built generator beside it.
#pragma once

#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sdk/device.h"
#include "platform/sdk/files.h"

extern char** environ;

namespace marrowleaf::bench {

// Makes the device (with the generator's further options) in a temporary folder and makes it the
// device root of this process. Later calls do nothing.
inline void UseSampleDevice(const std::vector<std::string>& options = {}) {
  static std::string root;
  if (!root.empty())
    return;
  std::string pattern =
      (std::filesystem::temp_directory_path() / "marrowleaf-bench-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    std::abort();
  root = pattern;
  const std::string generator =
      (std::filesystem::read_symlink("/proc/self/exe").parent_path() / "make-sample-device").string();
  std::vector<std::string> arguments = {generator, "--root", root};
  arguments.insert(arguments.end(), options.begin(), options.end());
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = -1;
  int status = 0;
  if (posix_spawn(&pid, generator.c_str(), nullptr, nullptr, argv.data(), environ) != 0 ||
      waitpid(pid, &status, 0) != pid || status != 0) {
    std::fprintf(stderr, "can't make the sample device with %s\n", generator.c_str());
    std::abort();
  }
  setenv("MARROWLEAF_ROOT", root.c_str(), 1);
  ReloadDeviceRoot();
  ReloadDeviceProfile();
}

}  // namespace marrowleaf::bench
