#pragma once

#include <string>

#include "Options.h"

namespace marrowleaf::tools {

// Makes a sample device under a root folder, step by step: folders, configuration files, language
// files, stand-in programs. Each step is its own class; later steps (library, books, covers,
// application files) plug in here.
class SampleDevice {
 public:
  SampleDevice(Options options, std::string bin_folder, std::string source_folder);

  // Returns the process exit status: 0 done, 1 failed (message on standard error).
  int Make();

 private:
  bool CheckRoot(std::string* error);
  bool UseRoot(std::string* error);
  bool MakeSteps(std::string* error);

  Options options_;
  std::string bin_folder_;
  std::string source_folder_;
  std::string root_;
};

}  // namespace marrowleaf::tools
