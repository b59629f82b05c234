#pragma once

#include <string>

namespace marrowleaf::tools {

// Copies resource folders of the source tree (language files, themes, layouts, the firmware's
// configuration) to their places on the device, keeping the folder structure below them.
class ResourceFiles {
 public:
  // Copies every regular file under source_folder (recursively) to device_folder. A missing source
  // folder copies nothing. Adds the number of files copied to *copied.
  static bool CopyFolder(const std::string& source_folder, const std::string& device_folder,
                         int* copied, std::string* error);
};

}  // namespace marrowleaf::tools
