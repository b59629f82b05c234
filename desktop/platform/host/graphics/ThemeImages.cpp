#include "ThemeImages.h"

#include "PngCodec.h"
#include "SvgRenderer.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/sdk/screen.h"
#include "platform/sdk/theme.h"

namespace marrowleaf::platform {

ThemeImages& ThemeImages::Get() {
  static ThemeImages* images = new ThemeImages();
  return *images;
}

// Names come from layouts and theme files: a name that could leave the images folder is refused.
bool ThemeImages::IsSafeName(const std::string& name) {
  return !name.empty() && name.size() <= 128 && name.find('/') == std::string::npos &&
         name.find('\\') == std::string::npos && name.find("..") == std::string::npos;
}

SmartBitmap ThemeImages::LoadFile(const std::string& name, int dpi, int format) const {
  if (!IsSafeName(name))
    return SmartBitmap();
  const std::string base = std::string("/ebrmain/themes/") + CurrentThemeName() + "/images/" + name;
  std::string bytes;
  bool truncated = false;
  if (ReadFileCapped(base + ".svg", kMaxFileBytes, &bytes, &truncated) && !truncated) {
    SmartBitmap bitmap = SvgRenderer::Render(bytes, dpi, format);
    if (!bitmap.IsEmpty())
      return bitmap;
  }
  if (ReadFileCapped(base + ".png", kMaxFileBytes, &bytes, &truncated) && !truncated)
    return PngCodec::Decode(bytes, format);
  return SmartBitmap();
}

SmartBitmap ThemeImages::Load(const std::string& name) {
  const int dpi = ScreenDpi() > 0 ? ScreenDpi() : 96;
  const int format = SmartBitmapFormatForDisplay();
  const std::string key_prefix = DeviceRoot() + "\n" + CurrentThemeName() + "\n" +
                                 std::to_string(dpi) + "\n" + std::to_string(format) + "\n";
  std::lock_guard<std::mutex> lock(mutex_);
  auto found = images_.find(key_prefix + name);
  if (found != images_.end())
    return found->second;
  // A colour panel takes the theme's colour variant of an image ("<name>.color") where it has one.
  SmartBitmap bitmap;
  if (format == SMART_BITMAP_COLOR)
    bitmap = LoadFile(name + kColourSuffix, dpi, format);
  if (bitmap.IsEmpty())
    bitmap = LoadFile(name, dpi, format);
  if (bitmap.IsEmpty() && name != kBrokenImage) {
    MW_LOG(MW_LOG_WARNING, "theme image [%s] is missing or broken", name.c_str());
    auto broken = images_.find(key_prefix + kBrokenImage);
    bitmap = broken != images_.end() ? broken->second : LoadFile(kBrokenImage, dpi, format);
    images_[key_prefix + kBrokenImage] = bitmap;
  }
  images_[key_prefix + name] = bitmap;
  return bitmap;
}

void ThemeImages::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  images_.clear();
}

}  // namespace marrowleaf::platform
