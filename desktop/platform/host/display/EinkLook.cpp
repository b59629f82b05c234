#include "EinkLook.h"

namespace marrowleaf::platform {

int EinkLook::Luminance(uint32_t rgb) {
  const int red = static_cast<int>((rgb >> 16) & 0xFF);
  const int green = static_cast<int>((rgb >> 8) & 0xFF);
  const int blue = static_cast<int>(rgb & 0xFF);
  return (299 * red + 587 * green + 114 * blue + 500) / 1000;
}

int EinkLook::Quantize(int value) {
  constexpr int kStep = 255 / (kLevels - 1);  // 17: level 15 is white
  const int level = (value * (kLevels - 1) + 127) / 255;
  return level * kStep;
}

uint32_t EinkLook::Convert(uint32_t rgb) const {
  if (!colour_) {
    const auto grey = static_cast<uint32_t>(Quantize(Luminance(rgb)));
    return (grey << 16) | (grey << 8) | grey;
  }
  const auto red = static_cast<uint32_t>(Quantize(static_cast<int>((rgb >> 16) & 0xFF)));
  const auto green = static_cast<uint32_t>(Quantize(static_cast<int>((rgb >> 8) & 0xFF)));
  const auto blue = static_cast<uint32_t>(Quantize(static_cast<int>(rgb & 0xFF)));
  return (red << 16) | (green << 8) | blue;
}

void EinkLook::Apply(PixelImage& image) const {
  // A screen is mostly runs of one colour (white paper, black text): a pixel like the one before
  // takes that one's result.
  uint32_t last_in = 0xFFFFFFu;
  uint32_t last_out = Convert(last_in);
  for (uint32_t& pixel : image.pixels) {
    if (pixel != last_in) {
      last_in = pixel;
      last_out = Convert(pixel);
    }
    pixel = last_out;
  }
}

}  // namespace marrowleaf::platform
