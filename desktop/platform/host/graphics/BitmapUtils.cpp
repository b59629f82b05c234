// Helpers on bitmaps: copies, mirroring, proportional stretching, band colours, inversion and the
// panel's tone adjustment.
#include "platform/utils/BitmapUtils.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "BitmapScaler.h"
#include "PixelMath.h"
#include "SmartBitmapAccess.h"
#include "platform/mw/MWRect.h"
#include "platform/sdk/device.h"

using marrowleaf::platform::BitmapScaler;
using marrowleaf::platform::PixelMath;

namespace {

// Applies a table to the colour channels of every pixel (alpha is kept). Covers are opaque, and
// an opaque pixel needs neither unpremultiplying nor premultiplying; an opaque grey one, what
// e-ink covers are made of, takes its finished value from one look-up.
void ApplyToneTable(SmartBitmap& bitmap, const std::array<uint8_t, 256>& table) {
  std::array<uint32_t, 256> greys{};
  for (size_t level = 0; level < 256; ++level)
    greys[level] = 0xFF000000u | table[level] * 0x010101u;
  uint32_t* pixel = bitmap.MutableData();
  for (size_t i = 0, n = static_cast<size_t>(bitmap.Width()) * bitmap.Height(); i < n; ++i) {
    const uint32_t value = pixel[i];
    if (PixelMath::Alpha(value) == 0xFF) {
      const uint32_t blue = PixelMath::Blue(value);
      pixel[i] = (value & 0xFFFFFFu) == blue * 0x010101u
                     ? greys[blue]
                     : 0xFF000000u | (uint32_t{table[PixelMath::Red(value)]} << 16) |
                           (uint32_t{table[PixelMath::Green(value)]} << 8) | table[blue];
      continue;
    }
    const uint32_t straight = PixelMath::Unpremultiply(value);
    pixel[i] = PixelMath::Premultiply(
        PixelMath::Pack(PixelMath::Alpha(straight), table[PixelMath::Red(straight)],
                        table[PixelMath::Green(straight)], table[PixelMath::Blue(straight)]));
  }
}

// Counts the opaque pixels by luminance; returns how many there are. A grey pixel is its own
// luminance. Four counters per level used in turn: the long runs of equal pixels in covers would
// otherwise each wait for the increment before them.
size_t CountLuminances(const SmartBitmap& bitmap, std::array<size_t, 256>* histogram) {
  std::array<std::array<uint32_t, 256>, 4> partial{};
  const uint32_t* pixels = bitmap.Data();
  const size_t n = static_cast<size_t>(bitmap.Width()) * bitmap.Height();
  for (size_t i = 0; i < n; ++i) {
    const uint32_t pixel = pixels[i];
    if (PixelMath::Alpha(pixel) != 0xFF)
      continue;
    const uint32_t blue = PixelMath::Blue(pixel);
    const bool grey = (pixel & 0xFFFFFFu) == blue * 0x010101u;
    ++partial[i & 3][grey ? blue : PixelMath::Luminance(pixel)];
  }
  size_t total = 0;
  for (size_t level = 0; level < 256; ++level) {
    (*histogram)[level] =
        size_t{partial[0][level]} + partial[1][level] + partial[2][level] + partial[3][level];
    total += (*histogram)[level];
  }
  return total;
}

// The luminance below which `share` of the opaque pixels lie.
int LuminancePercentile(const std::array<size_t, 256>& histogram, size_t total, double share) {
  const size_t wanted = static_cast<size_t>(total * share);
  size_t seen = 0;
  for (int level = 0; level < 256; ++level) {
    seen += histogram[static_cast<size_t>(level)];
    if (seen > wanted)
      return level;
  }
  return 255;
}

}  // namespace

SmartBitmap CopyBitmap(const SmartBitmap& bitmap) {
  if (bitmap.IsEmpty())
    return SmartBitmap();
  SmartBitmap copy = SmartBitmapAccess::Allocate(bitmap.Width(), bitmap.Height());
  std::copy(bitmap.Data(), bitmap.Data() + static_cast<size_t>(bitmap.Width()) * bitmap.Height(),
            copy.MutableData());
  if (SmartBitmapAccess::TonesAdjusted(bitmap))
    SmartBitmapAccess::MarkTonesAdjusted(copy);
  return copy;
}

void MirrorBitmap(SmartBitmap& bitmap, int flags) {
  if (bitmap.IsEmpty())
    return;
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  uint32_t* pixels = bitmap.MutableData();
  if (flags & MIRROR_HORIZONTAL) {
    for (int y = 0; y < height; ++y)
      std::reverse(pixels + static_cast<size_t>(y) * width,
                   pixels + static_cast<size_t>(y + 1) * width);
  }
  if (flags & MIRROR_VERTICAL) {
    for (int y = 0; y < height / 2; ++y)
      std::swap_ranges(pixels + static_cast<size_t>(y) * width,
                       pixels + static_cast<size_t>(y + 1) * width,
                       pixels + static_cast<size_t>(height - 1 - y) * width);
  }
}

SmartBitmap BitmapStretchProportionally(const SmartBitmap& bitmap, int width, int height) {
  if (bitmap.IsEmpty() || width < 1 || height < 1)
    return SmartBitmap();
  const double scale = std::min(static_cast<double>(width) / bitmap.Width(),
                                static_cast<double>(height) / bitmap.Height());
  const int target_width =
      std::clamp(static_cast<int>(std::lround(bitmap.Width() * scale)), 1, width);
  const int target_height =
      std::clamp(static_cast<int>(std::lround(bitmap.Height() * scale)), 1, height);
  return BitmapScaler::Scale(bitmap, target_width, target_height, true);
}

int FindAverageBitmapColor(const SmartBitmap& bitmap, int band, int band_percent) {
  if (bitmap.IsEmpty())
    return -1;
  const int width = bitmap.Width();
  const int height = bitmap.Height();
  const int percent = std::clamp(band_percent, 0, 100);
  const int columns = std::max(1, width * percent / 100);
  const int rows = std::max(1, height * percent / 100);
  MWRect area;
  switch (band) {
    case BITMAP_BAND_LEFT:
      area = MWRect{0, 0, columns, height};
      break;
    case BITMAP_BAND_RIGHT:
      area = MWRect{width - columns, 0, columns, height};
      break;
    case BITMAP_BAND_TOP:
      area = MWRect{0, 0, width, rows};
      break;
    case BITMAP_BAND_BOTTOM:
      area = MWRect{0, height - rows, width, rows};
      break;
    default:
      return -1;
  }
  uint64_t sums[3] = {0, 0, 0};
  const uint32_t* pixels = bitmap.Data();
  for (int y = area.y; y < area.y + area.h; ++y) {
    for (int x = area.x; x < area.x + area.w; ++x) {
      const uint32_t pixel = pixels[static_cast<size_t>(y) * width + x];
      // Premultiplied pixels over white: what the pixel looks like on a white page.
      const uint32_t white = 255 - PixelMath::Alpha(pixel);
      sums[0] += PixelMath::Red(pixel) + white;
      sums[1] += PixelMath::Green(pixel) + white;
      sums[2] += PixelMath::Blue(pixel) + white;
    }
  }
  const uint64_t count = static_cast<uint64_t>(area.w) * area.h;
  auto average = [count](uint64_t sum) { return static_cast<int>((sum + count / 2) / count); };
  return (average(sums[0]) << 16) | (average(sums[1]) << 8) | average(sums[2]);
}

SmartBitmap pk_copy_inv_bitmap(const SmartBitmap& bitmap) {
  SmartBitmap copy = CopyBitmap(bitmap);
  uint32_t* pixel = copy.MutableData();
  for (size_t i = 0, n = static_cast<size_t>(copy.Width()) * copy.Height(); i < n; ++i) {
    // In premultiplied form the inverse of a channel c under alpha a is a - c.
    const uint32_t alpha = PixelMath::Alpha(pixel[i]);
    pixel[i] =
        PixelMath::Pack(alpha, alpha - PixelMath::Red(pixel[i]), alpha - PixelMath::Green(pixel[i]),
                        alpha - PixelMath::Blue(pixel[i]));
  }
  return copy;
}

void adjustBitmapDefault(SmartBitmap& bitmap) {
  if (bitmap.IsEmpty() || device_display_colormask() != 0 ||
      SmartBitmapAccess::TonesAdjusted(bitmap))
    return;
  // Marked before the work, whatever it decides: a flat picture left alone is as finished as a
  // stretched one, and stretching a stretched picture again would lift its mid-tones twice.
  SmartBitmapAccess::MarkTonesAdjusted(bitmap);
  std::array<size_t, 256> histogram{};
  const size_t total = CountLuminances(bitmap, &histogram);
  if (total == 0)
    return;
  // 1% of the pixels may clip at each end; a nearly flat image (a plain colour, a blank page) is
  // left alone rather than stretched into noise.
  const int low = LuminancePercentile(histogram, total, 0.01);
  const int high = LuminancePercentile(histogram, total, 0.99);
  if (high - low < 32)
    return;
  std::array<uint8_t, 256> table{};
  for (int level = 0; level < 256; ++level) {
    const double stretched = std::clamp((level - low) / static_cast<double>(high - low), 0.0, 1.0);
    table[static_cast<size_t>(level)] =
        static_cast<uint8_t>(std::lround(255.0 * std::pow(stretched, 0.9)));
  }
  ApplyToneTable(bitmap, table);
}
