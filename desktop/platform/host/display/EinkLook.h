#pragma once

#include <cstdint>

#include "PixelImage.h"

namespace marrowleaf::platform {

// How the panel turns the framebuffer's colours into what the reader sees. A black-and-white panel
// has 16 grey levels: every pixel becomes the grey of its luminance, rounded to the nearest level,
// so a screenshot shows the banding and lost contrast a designer must plan for. A colour panel
// keeps colour but only 16 levels a channel (4096 colours), which is what its colour filter can
// show.
class EinkLook {
 public:
  static constexpr int kLevels = 16;

  explicit EinkLook(bool colour) : colour_(colour) {}

  bool Colour() const { return colour_; }
  uint32_t Convert(uint32_t rgb) const;
  // Converts every pixel of image in place.
  void Apply(PixelImage& image) const;

  // The luminance of a pixel, 0 (black) to 255 (white), with the usual weights of the eye.
  static int Luminance(uint32_t rgb);
  // A channel value rounded to the nearest of the 16 levels.
  static int Quantize(int value);

 private:
  bool colour_;
};

}  // namespace marrowleaf::platform
