// MD5 digests of files, to tell whether a downloaded image is the one its flag announced.
#pragma once

#include <string>

namespace marrowleaf::desktop {

// The MD5 digest of the file at a device path as 32 lowercase hexadecimal characters, or "" when
// the file can't be read. The file is read in blocks, so images of any size take little memory.
std::string Md5HexOfFile(const std::string& device_path);

}  // namespace marrowleaf::desktop
