#pragma once

#include <string>

#include "PixelImage.h"

namespace marrowleaf::platform {

// Writes pictures of the screen as PNG files. Screenshot names come from the person running the
// simulator (a script line, the screenshot key), so they are paths of the PC, not of the device.
class ScreenshotFile {
 public:
  // Writes image to host_path, replacing the file atomically. False when it can't.
  static bool Write(const PixelImage& image, const std::string& host_path);
  // Writes any file the person running the simulator named (a PC path; relative names are in the
  // working folder), making its folder and replacing it atomically. False when it can't.
  static bool WritePcFile(const std::string& host_path, const std::string& content);
  // A new name for the screenshot key's pictures: "/.sim/screenshot-<date>-<time>[-n].png" under
  // the device root.
  static std::string NextKeyScreenshotName();
};

}  // namespace marrowleaf::platform
