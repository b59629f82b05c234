// Pictures and books for the cover tests: a test picture with a known colour in each quarter, so
// that a test can tell that the right picture arrived, the right way up.
#pragma once

#include <string>
#include <vector>

#include "../../tools/make-sample-device/BookFiles.h"
#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::test {

constexpr int kTopColor = 0xD02020;     // red upper half
constexpr int kBottomColor = 0x2040D0;  // blue lower half

inline std::vector<uint32_t> TwoBandPixels(int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      pixels[static_cast<size_t>(y) * width + x] = y < height / 2 ? kTopColor : kBottomColor;
  }
  return pixels;
}

inline std::string TwoBandJpeg(int width, int height) {
  const std::vector<uint32_t> pixels = TwoBandPixels(width, height);
  return tools::BookFiles::Jpeg(pixels.data(), width, height, 92);
}

inline std::string TwoBandPng(int width, int height) {
  SmartBitmap bitmap = SmartBitmap::Create(width, height, kTopColor);
  uint32_t* data = bitmap.MutableData();
  for (int y = height / 2; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      data[static_cast<size_t>(y) * width + x] = 0xFF000000u | kBottomColor;
  }
  return bitmap.EncodePNG();
}

// True when a colour is within `tolerance` of the expected one on every channel.
inline bool Near(int color, int expected, int tolerance = 40) {
  for (int shift : {16, 8, 0}) {
    const int a = (color >> shift) & 0xff;
    const int b = (expected >> shift) & 0xff;
    if (a - b > tolerance || b - a > tolerance)
      return false;
  }
  return true;
}

// The picture arrived the right way up: red on top, blue at the bottom.
inline bool HasTwoBands(const SmartBitmap& bitmap) {
  return !bitmap.IsEmpty() &&
         Near(bitmap.PixelColor(bitmap.Width() / 2, bitmap.Height() / 4), kTopColor) &&
         Near(bitmap.PixelColor(bitmap.Width() / 2, bitmap.Height() * 3 / 4), kBottomColor);
}

}  // namespace marrowleaf::test
