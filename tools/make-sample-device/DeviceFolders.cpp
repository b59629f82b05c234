#include "DeviceFolders.h"

#include <filesystem>

#include "platform/sdk/files.h"

namespace marrowleaf::tools {

const std::vector<std::string>& DeviceFolders::List() {
  static const std::vector<std::string> folders = {
      "/ebrmain/bin",
      "/ebrmain/config",
      "/ebrmain/language",
      "/ebrmain/themes/Contrast",
      "/ebrmain/share/FBReader/default",
      "/mnt/ext1/applications",
      "/mnt/ext1/system/config",
      "/mnt/ext1/system/state",
      "/mnt/secure",
      "/tmp",
      "/var/run",
      "/bin",
      "/.sim",
  };
  return folders;
}

bool DeviceFolders::Make(std::string* error) {
  for (const std::string& folder : List()) {
    std::error_code failure;
    std::filesystem::create_directories(HostPath(folder), failure);
    if (failure) {
      *error = "can't create " + HostPath(folder) + ": " + failure.message();
      return false;
    }
  }
  return true;
}

}  // namespace marrowleaf::tools
