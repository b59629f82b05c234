#pragma once

#include <cstddef>
#include <string>

namespace marrowleaf::platform {

// Names that come from configuration files or callers and become one component of a path (a user
// profile, a theme, a language): they must name an entry inside their folder, never leave it.
class FolderName {
 public:
  // True for a non-empty name of at most max_length bytes without '/', "..", or control characters.
  static bool IsSafe(const std::string& name, size_t max_length);
};

}  // namespace marrowleaf::platform
