#pragma once

#include <string>

namespace marrowleaf::utilities {

// Byte strings as text: two lowercase hexadecimal digits a byte.
class SerializationUtils {
 public:
  static std::string ToHex(const std::string& bytes);
  // The bytes of a hexadecimal text (either case). Returns false, leaving bytes empty, for text of
  // odd length or with a character that is not a hexadecimal digit.
  static bool FromHex(const std::string& text, std::string* bytes);
  static std::string FromHex(const std::string& text);
};

}  // namespace marrowleaf::utilities
