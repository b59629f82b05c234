#pragma once

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// Resizes bitmaps. Shrinking by a large factor first averages whole blocks of pixels (a box filter
// by the integer factors that keep the image at least as large as the target), then interpolates
// bilinearly to the exact size. Bilinear alone would skip pixels and make covers grainy; the box
// step alone can't reach any size. Works on premultiplied pixels, so transparent edges don't turn
// dark.
class BitmapScaler {
 public:
  // Empty for an empty source or a target size out of the bitmap caps.
  static SmartBitmap Scale(const SmartBitmap& source, int width, int height, bool box_prefilter);

 private:
  static SmartBitmap BoxShrink(const SmartBitmap& source, int factor_x, int factor_y);
  static SmartBitmap Bilinear(const SmartBitmap& source, int width, int height);
};

}  // namespace marrowleaf::platform
