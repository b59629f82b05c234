#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "ThemeImageStore.h"
#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// The theme's images by name, made once and shared afterwards. An image is
// "/ebrmain/themes/<theme>/images/<name>.svg" rendered at the screen's DPI, else the ".png" of the
// same name; a missing or broken one is replaced by "broken_image". The cache is keyed by device
// root, theme, DPI and display format, so a test or a theme change never sees stale images. What
// was drawn is also kept for the next start (ThemeImageStore, written a moment after the last new
// image and when the event loop ends); an image is taken from there only while the signature of
// its files (size and checksum of each candidate file's content, or its absence) is unchanged.
class ThemeImages {
 public:
  static constexpr const char* kBrokenImage = "broken_image";
  // The suffix of an image's colour variant ("star_full.color"), which colour panels take instead
  // when it exists.
  static constexpr const char* kColourSuffix = ".color";
  // Theme image files above this size are not read.
  static constexpr size_t kMaxFileBytes = 4u * 1024 * 1024;

  static ThemeImages& Get();

  // Where the drawn images of a theme, DPI and display format are kept between runs.
  static std::string StorePath(const std::string& theme, int dpi, int format);

  SmartBitmap Load(const std::string& name);
  void Clear();
  // Writes the images drawn since the last save.
  void Save();

 private:
  ThemeImages() = default;
  // The image itself, or empty when it has no usable file: from the store while its files are
  // unchanged, else drawn (and stored).
  SmartBitmap LoadFile(const std::string& name, int dpi, int format);
  ThemeImageStore& StoreFor(int dpi, int format);
  void SaveLater();
  static bool IsSafeName(const std::string& name);

  std::mutex mutex_;
  std::map<std::string, SmartBitmap> images_;
  // By device root, theme, DPI and format.
  std::map<std::string, std::unique_ptr<ThemeImageStore>> stores_;
};

}  // namespace marrowleaf::platform
