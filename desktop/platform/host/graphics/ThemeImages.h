#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// The theme's images by name, made once and shared afterwards. An image is
// "/ebrmain/themes/<theme>/images/<name>.svg" rendered at the screen's DPI, else the ".png" of the
// same name; a missing or broken one is replaced by "broken_image". The cache is keyed by device
// root, theme, DPI and display format, so a test or a theme change never sees stale images.
class ThemeImages {
 public:
  static constexpr const char* kBrokenImage = "broken_image";
  // The suffix of an image's colour variant ("star_full.color"), which colour panels take instead
  // when it exists.
  static constexpr const char* kColourSuffix = ".color";
  // Theme image files above this size are not read.
  static constexpr size_t kMaxFileBytes = 4u * 1024 * 1024;

  static ThemeImages& Get();

  SmartBitmap Load(const std::string& name);
  void Clear();

 private:
  ThemeImages() = default;
  // The image itself, or empty when it has no usable file.
  SmartBitmap LoadFile(const std::string& name, int dpi, int format) const;
  static bool IsSafeName(const std::string& name);

  std::mutex mutex_;
  std::map<std::string, SmartBitmap> images_;
};

}  // namespace marrowleaf::platform
