#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// SVG images rendered with librsvg at a given DPI: lengths in physical units (mm, pt, in) come out
// the same physical size on every screen. An image without a usable size, above the bitmap caps
// or that doesn't parse gives an empty bitmap.
class SvgRenderer {
 public:
  static SmartBitmap Render(const std::string& bytes, int dpi, int format);
};

}  // namespace marrowleaf::platform
