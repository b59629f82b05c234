#include "PictureDecoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "CoverLimits.h"
#include "platform/sdk/covers.h"

namespace marrowleaf::platform {

bool PictureDecoder::IsJpeg(const std::string& bytes) {
  return bytes.size() > 3 && bytes.compare(0, 3, "\xff\xd8\xff") == 0;
}

bool PictureDecoder::IsPng(const std::string& bytes) {
  return bytes.size() > 8 && bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0;
}

SmartBitmap PictureDecoder::Decode(const std::string& bytes, int format, int target_width,
                                   int target_height) {
  if (IsPng(bytes))
    return SmartBitmap::DecodePNG(bytes, format);
  if (!IsJpeg(bytes))
    return SmartBitmap();
  const bool reduce = (GetLoadImageFlags() & LOAD_IMAGE_REDUCED_SCALE) != 0 && target_width > 0 &&
                      target_height > 0;
  return reduce ? SmartBitmap::DecodeJPEG(bytes, format, target_width, target_height)
                : SmartBitmap::DecodeJPEG(bytes, format);
}

void PictureDecoder::ToGrey(SmartBitmap& bitmap) {
  if (bitmap.IsEmpty())
    return;
  uint32_t* pixel = bitmap.MutableData();
  uint32_t* const end = pixel + static_cast<size_t>(bitmap.Width()) * bitmap.Height();
  for (; pixel != end; ++pixel) {
    const uint32_t value = *pixel;
    // Premultiplied channels stay premultiplied: a weighted sum of them is the premultiplied grey.
    const uint32_t grey =
        (((value >> 16) & 0xff) * 77 + ((value >> 8) & 0xff) * 150 + (value & 0xff) * 29) >> 8;
    *pixel = (value & 0xff000000u) | (grey << 16) | (grey << 8) | grey;
  }
}

SmartBitmap PictureDecoder::FromPixels(const unsigned char* pixels, int width, int height,
                                       int stride, bool opaque) {
  SmartBitmap bitmap = SmartBitmap::Create(width, height);
  if (bitmap.IsEmpty() || pixels == nullptr || stride < width * 4)
    return SmartBitmap();
  uint32_t* target = bitmap.MutableData();
  for (int y = 0; y < height; ++y) {
    uint32_t* row = target + static_cast<size_t>(y) * width;
    std::memcpy(row, pixels + static_cast<size_t>(y) * stride, static_cast<size_t>(width) * 4);
    if (opaque) {
      for (int x = 0; x < width; ++x) row[x] |= 0xff000000u;
    }
  }
  return bitmap;
}

double PictureDecoder::RenderScale(double page_width, double page_height, int target_width,
                                   int target_height) {
  if (page_width < 1 || page_height < 1)
    return 0;
  double scale = target_width > 0 && target_height > 0
                     ? std::max(target_width / page_width, target_height / page_height)
                     : CoverLimits::kFullSizeRenderSide / std::max(page_width, page_height);
  scale = std::min(scale, CoverLimits::kMaxRenderSide / std::max(page_width, page_height));
  const double pixels = page_width * page_height * scale * scale;
  if (pixels > static_cast<double>(CoverLimits::kMaxRenderPixels))
    scale *= std::sqrt(static_cast<double>(CoverLimits::kMaxRenderPixels) / pixels);
  return scale;
}

}  // namespace marrowleaf::platform
