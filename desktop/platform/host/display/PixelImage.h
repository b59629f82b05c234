#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace marrowleaf::platform {

// A plain picture in the framebuffer's pixel format: one 32-bit 0x00RRGGBB word a pixel, rows
// packed without padding. The display keeps what the panel shows in one and hands rectangles of the
// framebuffer around in others, so none of its code depends on the drawing library.
struct PixelImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;

  PixelImage() = default;
  PixelImage(int w, int h, uint32_t fill = 0xFFFFFF)
      : width(w), height(h), pixels(static_cast<size_t>(w) * static_cast<size_t>(h), fill) {}

  bool Empty() const { return width <= 0 || height <= 0; }
  uint32_t At(int x, int y) const { return pixels[Index(x, y)]; }
  uint32_t& At(int x, int y) { return pixels[Index(x, y)]; }

 private:
  size_t Index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
  }
};

}  // namespace marrowleaf::platform
