#pragma once

#include <cstddef>
#include <string>

namespace marrowleaf::platform {

// Base64 text as carried by FB2 binaries: white space anywhere is skipped.
class Base64 {
 public:
  // False for a character outside the alphabet, misplaced padding, or output above max_bytes.
  static bool Decode(const char* text, size_t length, size_t max_bytes, std::string* bytes);
  static std::string Encode(const std::string& bytes);
};

}  // namespace marrowleaf::platform
