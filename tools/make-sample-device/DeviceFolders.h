#pragma once

#include <string>
#include <vector>

namespace marrowleaf::tools {

// The folders of a fresh device: the firmware's read-only part (/ebrmain), the internal storage
// (/mnt/ext1), the secure and temporary file systems, and the simulator's own folder (/.sim).
class DeviceFolders {
 public:
  static const std::vector<std::string>& List();
  // Creates every folder of the list under the device root; existing folders are no error.
  static bool Make(std::string* error);
};

}  // namespace marrowleaf::tools
