#pragma once

#include <string>

namespace marrowleaf::tools {

// Writes the files of the device under the device root, each replaced whole (a temporary file
// renamed over the old one), so a device made again over an old one never holds half a file.
class DeviceFiles {
 public:
  // Writes a file at a device path and gives it the mode (0644 for data, 0755 for programs).
  static bool Write(const std::string& device_path, const std::string& content, unsigned mode,
                    std::string* error);
  // Copies a file of the host (outside the device root) to a device path, keeping at most
  // max_bytes: a larger source is refused rather than cut.
  static bool CopyFromHost(const std::string& host_source, const std::string& device_path,
                           unsigned mode, size_t max_bytes, std::string* error);
  // Gives a device path the file of another device path: a hard link where the file system allows
  // one (dozens of stand-in programs then cost the writes of one), else a copy.
  static bool Share(const std::string& device_source, const std::string& device_path,
                    unsigned mode, size_t max_bytes, std::string* error);
  // Makes a device path a symbolic link to a host path, replacing what was there.
  static bool Link(const std::string& host_target, const std::string& device_path,
                   std::string* error);
};

}  // namespace marrowleaf::tools
