#pragma once

#include <string>
#include <vector>

namespace marrowleaf::tools {

// The programs of the device other than the home screen. Applications are copies of the stand-in
// program, which journals how it was started; the first-run steps are shell scripts that do their
// job and start the home screen again; /ebrmain/bin/bookshelf.app links to the built home screen.
class Standins {
 public:
  // The stand-in program on the device; every program path that stands in shares this file.
  static constexpr const char* kDevicePath = "/ebrmain/bin/marrowleaf-standin";
  // Device paths of the applications that are copies of the stand-in program.
  static std::vector<std::string> ApplicationPaths();

  // bin_folder holds the built marrowleaf-standin and bookshelf.app.
  static bool Install(const std::string& bin_folder, std::string* error);

 private:
  static bool InstallApplications(const std::string& standin, std::string* error);
  static bool InstallScripts(std::string* error);
  static std::string FirstRunScript(const std::string& job);
};

}  // namespace marrowleaf::tools
