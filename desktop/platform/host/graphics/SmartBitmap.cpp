// The shared bitmap handle, its pixel access and the framebuffer copy.
#include "platform/utils/SmartBitmap.h"

#include <cairo.h>

#include <algorithm>

#include "Framebuffer.h"
#include "JpegCodec.h"
#include "PixelMath.h"
#include "PngCodec.h"
#include "SmartBitmapAccess.h"
#include "ThemeImages.h"
#include "platform/sdk/device.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

using marrowleaf::platform::Framebuffer;
using marrowleaf::platform::JpegCodec;
using marrowleaf::platform::PixelMath;
using marrowleaf::platform::PngCodec;
using marrowleaf::platform::ThemeImages;

int SmartBitmapFormatForDisplay() {
  return device_display_colormask() != 0 ? SMART_BITMAP_COLOR : SMART_BITMAP_GREY;
}

bool SmartBitmapAccess::SizeAllowed(long long width, long long height) {
  return width >= 1 && height >= 1 && width <= SmartBitmap::kMaxSide &&
         height <= SmartBitmap::kMaxSide && width * height <= SmartBitmap::kMaxPixels;
}

SmartBitmap SmartBitmapAccess::Allocate(int width, int height) {
  if (!SizeAllowed(width, height))
    return SmartBitmap();
  auto pixels = std::make_shared<SmartBitmap::Pixels>();
  pixels->width = width;
  pixels->height = height;
  pixels->data.resize(static_cast<size_t>(width) * height);
  return SmartBitmap(std::move(pixels));
}

cairo_surface_t* SmartBitmapAccess::Surface(const SmartBitmap& bitmap) {
  if (bitmap.IsEmpty())
    return nullptr;
  // Cairo only reads a source surface, so handing it the shared pixels is safe.
  auto* data = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(bitmap.Data()));
  return cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, bitmap.Width(),
                                             bitmap.Height(), bitmap.Stride());
}

void SmartBitmapAccess::FinishDecoded(SmartBitmap& bitmap, int format) {
  if (bitmap.IsEmpty())
    return;
  const bool grey = format != SMART_BITMAP_COLOR;
  uint32_t* pixel = bitmap.MutableData();
  uint32_t* const end = pixel + static_cast<size_t>(bitmap.Width()) * bitmap.Height();
  for (; pixel != end; ++pixel) {
    uint32_t value = *pixel;
    // Opaque grey pixels, the whole of a grey thumbnail, need no work.
    if ((value >> 24) == 0xFF && PixelMath::Red(value) == PixelMath::Blue(value) &&
        PixelMath::Green(value) == PixelMath::Blue(value))
      continue;
    if (grey)
      value = PixelMath::ToGrey(value);
    *pixel = PixelMath::Premultiply(value);
  }
}

bool SmartBitmapAccess::TonesAdjusted(const SmartBitmap& bitmap) {
  return !bitmap.IsEmpty() && bitmap.pixels_->tones_adjusted;
}

void SmartBitmapAccess::MarkTonesAdjusted(SmartBitmap& bitmap) {
  if (!bitmap.IsEmpty())
    bitmap.pixels_->tones_adjusted = true;
}

SmartBitmap SmartBitmap::Create(int width, int height, int color) {
  SmartBitmap bitmap = SmartBitmapAccess::Allocate(width, height);
  if (!bitmap.IsEmpty())
    std::fill(bitmap.pixels_->data.begin(), bitmap.pixels_->data.end(),
              0xFF000000u | (static_cast<uint32_t>(color) & 0xFFFFFF));
  return bitmap;
}

SmartBitmap SmartBitmap::FromScreen(int x, int y, int width, int height) {
  MWRect rect{x, y, width, height};
  std::vector<uint32_t> copy = Framebuffer::Get().CopyRect(&rect);
  if (rect.IsEmpty())
    return SmartBitmap();
  SmartBitmap bitmap = SmartBitmapAccess::Allocate(rect.w, rect.h);
  if (bitmap.IsEmpty())
    return bitmap;
  // The framebuffer has no alpha channel; a bitmap of the screen is opaque.
  for (uint32_t& value : copy) value |= 0xFF000000u;
  bitmap.pixels_->data = std::move(copy);
  return bitmap;
}

int SmartBitmap::Width() const {
  return pixels_ ? pixels_->width : 0;
}

int SmartBitmap::Height() const {
  return pixels_ ? pixels_->height : 0;
}

const uint32_t* SmartBitmap::Data() const {
  return pixels_ ? pixels_->data.data() : nullptr;
}

uint32_t* SmartBitmap::MutableData() {
  return pixels_ ? pixels_->data.data() : nullptr;
}

int SmartBitmap::PixelColor(int x, int y) const {
  if (!pixels_ || x < 0 || y < 0 || x >= Width() || y >= Height())
    return -1;
  return static_cast<int>(
      PixelMath::Unpremultiply(pixels_->data[static_cast<size_t>(y) * Width() + x]) & 0xFFFFFF);
}

int SmartBitmap::PixelAlpha(int x, int y) const {
  if (!pixels_ || x < 0 || y < 0 || x >= Width() || y >= Height())
    return -1;
  return static_cast<int>(pixels_->data[static_cast<size_t>(y) * Width() + x] >> 24);
}

bool SmartBitmap::IsOpaque() const {
  if (!pixels_)
    return false;
  return std::all_of(pixels_->data.begin(), pixels_->data.end(),
                     [](uint32_t value) { return (value >> 24) == 0xFF; });
}

namespace {

// The file's bytes, or "" when it is missing, unreadable or above the cap.
std::string ReadImageFile(const std::string& path) {
  std::string bytes;
  bool truncated = false;
  if (!ReadFileCapped(path, SmartBitmap::kMaxFileBytes, &bytes, &truncated))
    return std::string();
  if (truncated) {
    MW_LOG(MW_LOG_WARNING, "image [%s] refused: larger than %zu bytes", path.c_str(),
           SmartBitmap::kMaxFileBytes);
    return std::string();
  }
  return bytes;
}

}  // namespace

SmartBitmap SmartBitmap::LoadFromTheme(const std::string& name) {
  return ThemeImages::Get().Load(name);
}

void SmartBitmap::ClearThemeCache() {
  ThemeImages::Get().Clear();
}

SmartBitmap SmartBitmap::LoadPNGToFormat(const std::string& path, int format) {
  const std::string bytes = ReadImageFile(path);
  return bytes.empty() ? SmartBitmap() : PngCodec::Decode(bytes, format);
}

SmartBitmap SmartBitmap::LoadJPEGToFormat(const std::string& path, int format, int target_width,
                                          int target_height) {
  const std::string bytes = ReadImageFile(path);
  return bytes.empty() ? SmartBitmap()
                       : JpegCodec::Decode(bytes, format, target_width, target_height);
}

SmartBitmap SmartBitmap::DecodePNG(const std::string& bytes, int format) {
  return PngCodec::Decode(bytes, format);
}

SmartBitmap SmartBitmap::DecodeJPEG(const std::string& bytes, int format, int target_width,
                                    int target_height) {
  return JpegCodec::Decode(bytes, format, target_width, target_height);
}

bool SmartBitmap::SavePNG(const std::string& path) const {
  const std::string bytes = EncodePNG();
  return !bytes.empty() && WriteFileAtomically(path, bytes) == 0;
}

std::string SmartBitmap::EncodePNG() const {
  return PngCodec::Encode(*this);
}
