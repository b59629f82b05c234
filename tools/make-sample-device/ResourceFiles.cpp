#include "ResourceFiles.h"

#include <filesystem>

#include "DeviceFiles.h"

namespace marrowleaf::tools {

namespace {

// Resources are texts, layouts and icons; anything larger is a mistake in the source tree.
constexpr size_t kMaxResourceFileBytes = 8 * 1024 * 1024;
constexpr unsigned kResourceMode = 0644;

}  // namespace

bool ResourceFiles::CopyFolder(const std::string& source_folder, const std::string& device_folder,
                               int* copied, std::string* error) {
  std::error_code failure;
  std::filesystem::recursive_directory_iterator entries(source_folder, failure);
  if (failure)
    return true;
  for (const auto& entry : entries) {
    if (!entry.is_regular_file(failure))
      continue;
    const std::filesystem::path relative = entry.path().lexically_relative(source_folder);
    const std::string target = device_folder + "/" + relative.string();
    if (!DeviceFiles::CopyFromHost(entry.path().string(), target, kResourceMode,
                                   kMaxResourceFileBytes, error)) {
      return false;
    }
    ++*copied;
  }
  return true;
}

}  // namespace marrowleaf::tools
