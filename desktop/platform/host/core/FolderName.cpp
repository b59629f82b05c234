#include "FolderName.h"

#include <algorithm>

namespace marrowleaf::platform {

bool FolderName::IsSafe(const std::string& name, size_t max_length) {
  if (name.empty() || name.size() > max_length || name == ".")
    return false;
  if (name.find('/') != std::string::npos || name.find("..") != std::string::npos)
    return false;
  return std::none_of(name.begin(), name.end(),
                      [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

}  // namespace marrowleaf::platform
