#include "LanguageFiles.h"

#include <filesystem>

#include "DeviceFiles.h"

namespace marrowleaf::tools {

namespace {

// Language files are lists of short texts; anything larger is not one.
constexpr size_t kMaxLanguageFileBytes = 4 * 1024 * 1024;

}  // namespace

bool LanguageFiles::Copy(const std::string& source_folder, int* copied, std::string* error) {
  *copied = 0;
  std::error_code failure;
  std::filesystem::directory_iterator entries(source_folder, failure);
  if (failure)
    return true;
  for (const auto& entry : entries) {
    const std::filesystem::path& source = entry.path();
    if (source.extension() != ".txt" || !entry.is_regular_file(failure))
      continue;
    const std::string target = "/ebrmain/language/" + source.filename().string();
    if (!DeviceFiles::CopyFromHost(source.string(), target, 0644, kMaxLanguageFileBytes, error)) {
      return false;
    }
    ++*copied;
  }
  return true;
}

}  // namespace marrowleaf::tools
