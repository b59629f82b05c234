#pragma once

#include <string>

#include "DeflatePng.h"
#include "PixelImage.h"

namespace marrowleaf::platform {

// Writes pictures of the screen as PNG files. Screenshot names come from the person running the
// simulator (a script line, the screenshot key), so they are paths of the PC, not of the device.
class ScreenshotFile {
 public:
  // Writes image to host_path, replacing the file atomically. False when it can't.
  static bool Write(const PixelImage& image, const std::string& host_path);
  // Adds a band of rows to a picture being built for a PNG file: one byte a pixel for a grey
  // panel, three for a colour one (a quarter or three quarters of the screen's own size), so a
  // screenshot never holds a second full copy of the screen.
  static void AppendRows(const PixelImage& band, DeflatePng::Image* picture);
  // Writes a picture built by AppendRows as a PNG file (see WritePcFile).
  static bool WritePng(const DeflatePng::Image& picture, const std::string& host_path);
  // Writes any file the person running the simulator named (a PC path; relative names are in the
  // working folder), making its folder and replacing it atomically. False when it can't.
  static bool WritePcFile(const std::string& host_path, const std::string& content);
  // A new name for the screenshot key's pictures: "/.sim/screenshot-<date>-<time>[-n].png" under
  // the device root.
  static std::string NextKeyScreenshotName();
};

}  // namespace marrowleaf::platform
