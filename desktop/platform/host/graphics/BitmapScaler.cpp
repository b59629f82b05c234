#include "BitmapScaler.h"

#include <algorithm>
#include <vector>

#include "PixelMath.h"
#include "SmartBitmapAccess.h"

namespace marrowleaf::platform {

namespace {

// Where one target column or row samples the source: two neighbours and the weight (0..256) of
// the second.
struct Tap {
  int first;
  int second;
  uint32_t weight;
};

std::vector<Tap> Taps(int source_size, int target_size) {
  std::vector<Tap> taps(static_cast<size_t>(target_size));
  const double ratio = static_cast<double>(source_size) / target_size;
  for (int i = 0; i < target_size; ++i) {
    // Pixel centres line up: the centre of target pixel i maps to (i + 0.5) * ratio - 0.5.
    const double position = std::clamp((i + 0.5) * ratio - 0.5, 0.0, source_size - 1.0);
    const int first = static_cast<int>(position);
    taps[static_cast<size_t>(i)] = Tap{first, std::min(first + 1, source_size - 1),
                                       static_cast<uint32_t>((position - first) * 256.0 + 0.5)};
  }
  return taps;
}

// Mixes two pixels channel by channel: (a * (256 - weight) + b * weight) / 256.
uint32_t Mix(uint32_t a, uint32_t b, uint32_t weight) {
  const uint32_t keep = 256 - weight;
  const uint32_t red_blue =
      (((a & 0x00FF00FFu) * keep + (b & 0x00FF00FFu) * weight) >> 8) & 0x00FF00FFu;
  const uint32_t alpha_green =
      ((((a >> 8) & 0x00FF00FFu) * keep + ((b >> 8) & 0x00FF00FFu) * weight) >> 8) & 0x00FF00FFu;
  return red_blue | (alpha_green << 8);
}

}  // namespace

SmartBitmap BitmapScaler::Scale(const SmartBitmap& source, int width, int height,
                                bool box_prefilter) {
  if (source.IsEmpty() || !SmartBitmapAccess::SizeAllowed(width, height))
    return SmartBitmap();
  SmartBitmap shrunk = source;
  const int factor_x = std::max(1, source.Width() / width);
  const int factor_y = std::max(1, source.Height() / height);
  if (box_prefilter && (factor_x > 1 || factor_y > 1))
    shrunk = BoxShrink(source, factor_x, factor_y);
  return Bilinear(shrunk, width, height);
}

SmartBitmap BitmapScaler::BoxShrink(const SmartBitmap& source, int factor_x, int factor_y) {
  const int width = source.Width() / factor_x;
  const int height = source.Height() / factor_y;
  SmartBitmap target = SmartBitmapAccess::Allocate(width, height);
  const uint32_t count = static_cast<uint32_t>(factor_x * factor_y);
  // Per target column, the channel sums of the block rows read so far.
  std::vector<uint32_t> sums(static_cast<size_t>(width) * 4);
  for (int y = 0; y < height; ++y) {
    std::fill(sums.begin(), sums.end(), 0);
    for (int row = y * factor_y; row < (y + 1) * factor_y; ++row) {
      const uint32_t* pixel = source.Data() + static_cast<size_t>(row) * source.Width();
      for (int x = 0; x < width; ++x) {
        uint32_t* sum = &sums[static_cast<size_t>(x) * 4];
        for (int i = 0; i < factor_x; ++i, ++pixel) {
          sum[0] += PixelMath::Alpha(*pixel);
          sum[1] += PixelMath::Red(*pixel);
          sum[2] += PixelMath::Green(*pixel);
          sum[3] += PixelMath::Blue(*pixel);
        }
      }
    }
    uint32_t* out = target.MutableData() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      const uint32_t* sum = &sums[static_cast<size_t>(x) * 4];
      out[x] = PixelMath::Pack((sum[0] + count / 2) / count, (sum[1] + count / 2) / count,
                               (sum[2] + count / 2) / count, (sum[3] + count / 2) / count);
    }
  }
  return target;
}

SmartBitmap BitmapScaler::Bilinear(const SmartBitmap& source, int width, int height) {
  SmartBitmap target = SmartBitmapAccess::Allocate(width, height);
  if (target.IsEmpty())
    return target;
  const std::vector<Tap> columns = Taps(source.Width(), width);
  const std::vector<Tap> rows = Taps(source.Height(), height);
  for (int y = 0; y < height; ++y) {
    const Tap& row = rows[static_cast<size_t>(y)];
    const uint32_t* upper = source.Data() + static_cast<size_t>(row.first) * source.Width();
    const uint32_t* lower = source.Data() + static_cast<size_t>(row.second) * source.Width();
    uint32_t* out = target.MutableData() + static_cast<size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      const Tap& column = columns[static_cast<size_t>(x)];
      const uint32_t top = Mix(upper[column.first], upper[column.second], column.weight);
      const uint32_t bottom = Mix(lower[column.first], lower[column.second], column.weight);
      out[x] = Mix(top, bottom, row.weight);
    }
  }
  return target;
}

}  // namespace marrowleaf::platform
