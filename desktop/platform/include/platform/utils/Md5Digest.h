// MD5 digests as text: whether a file changed since it was last looked at, and whether a
// downloaded image is the one its flag announced.
#pragma once

#include <string>

namespace marrowleaf::utilities {

class Md5Digest {
 public:
  // The digest of the bytes as 32 lowercase hexadecimal characters; "" when the digest library
  // fails.
  static std::string HexOf(const std::string& bytes);
  // The digest of the file at a device path, read in blocks so that images of any size take little
  // memory; "" when the file can't be read.
  static std::string HexOfFile(const std::string& device_path);
};

}  // namespace marrowleaf::utilities
