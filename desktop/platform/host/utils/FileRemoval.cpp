#include "platform/utils/FileRemoval.h"

#include <unistd.h>

#include <filesystem>

#include "platform/sdk/files.h"

namespace marrowleaf::utilities {

int unlink_file_with_af(const std::string& device_path) {
  if (device_path.empty() || device_path.back() == '/')
    return 0;
  const std::string host = HostPathForChange(device_path);
  if (host.empty() || unlink(host.c_str()) != 0)
    return 0;
  // The companions are best effort: the book is gone either way.
  std::error_code ignored;
  std::filesystem::remove_all(host + ".sdr", ignored);
  std::filesystem::remove(host + ".cover", ignored);
  return 1;
}

}  // namespace marrowleaf::utilities
