#pragma once

#include <cstdint>

namespace marrowleaf::platform {

// Arithmetic on 0xAARRGGBB pixels shared by the decoders, the scaler and the bitmap helpers.
class PixelMath {
 public:
  static uint32_t Alpha(uint32_t pixel) { return pixel >> 24; }
  static uint32_t Red(uint32_t pixel) { return (pixel >> 16) & 0xFF; }
  static uint32_t Green(uint32_t pixel) { return (pixel >> 8) & 0xFF; }
  static uint32_t Blue(uint32_t pixel) { return pixel & 0xFF; }
  static uint32_t Pack(uint32_t alpha, uint32_t red, uint32_t green, uint32_t blue) {
    return (alpha << 24) | (red << 16) | (green << 8) | blue;
  }
  // value * alpha / 255, rounded, for 8-bit values.
  static uint32_t Scale(uint32_t value, uint32_t alpha) {
    const uint32_t product = value * alpha + 128;
    return (product + (product >> 8)) >> 8;
  }
  // Luminance with the weights panels use (BT.601), 0..255.
  static uint32_t Luminance(uint32_t pixel) {
    return (Red(pixel) * 299 + Green(pixel) * 587 + Blue(pixel) * 114 + 500) / 1000;
  }
  // The same pixel in grey; alpha is kept.
  static uint32_t ToGrey(uint32_t pixel) {
    const uint32_t grey = Luminance(pixel);
    return Pack(Alpha(pixel), grey, grey, grey);
  }
  static uint32_t Premultiply(uint32_t pixel) {
    const uint32_t alpha = Alpha(pixel);
    if (alpha == 0xFF)
      return pixel;
    return Pack(alpha, Scale(Red(pixel), alpha), Scale(Green(pixel), alpha),
                Scale(Blue(pixel), alpha));
  }
  static uint32_t Unpremultiply(uint32_t pixel) {
    const uint32_t alpha = Alpha(pixel);
    if (alpha == 0xFF)
      return pixel;
    if (alpha == 0)
      return 0;
    auto channel = [alpha](uint32_t value) {
      const uint32_t straight = (value * 255 + alpha / 2) / alpha;
      return straight > 255 ? 255u : straight;
    };
    return Pack(alpha, channel(Red(pixel)), channel(Green(pixel)), channel(Blue(pixel)));
  }
};

}  // namespace marrowleaf::platform
