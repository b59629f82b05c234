#include "views/ThemeImage.h"

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::desktop {
namespace {

SmartBitmap LoadFile(const std::string& path) {
  SmartBitmap bitmap = SmartBitmap::LoadPNGToFormat(path, SmartBitmapFormatForDisplay());
  if (bitmap.IsEmpty())
    bitmap = SmartBitmap::LoadJPEGToFormat(path, SmartBitmapFormatForDisplay());
  return bitmap;
}

}  // namespace

SmartBitmap ThemeImage::Load(const std::string& name) {
  if (name.empty())
    return SmartBitmap();
  // The theme answers a missing image with its "broken_image".
  return SmartBitmap::LoadFromTheme(name);
}

SmartBitmap ThemeImage::LoadIcon(const std::string& name) {
  if (name.empty())
    return SmartBitmap();
  if (name.find('/') != std::string::npos)
    return LoadFile(name);
  SmartBitmap bitmap = Load(name);
  return bitmap.IsEmpty() ? LoadFile(name) : bitmap;
}

}  // namespace marrowleaf::desktop
