#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// JPEG files to bitmaps through libjpeg-turbo. libjpeg's own error handler ends the process, so
// errors jump back here instead and give an empty bitmap. Decoding scales down on the fly when the
// caller needs a smaller image, and refuses images above the bitmap caps before decoding pixels.
class JpegCodec {
 public:
  // target_width/target_height -1: full size.
  static SmartBitmap Decode(const std::string& bytes, int format, int target_width,
                            int target_height);
  // The denominator (1, 2, 4 or 8) of the largest reduction that keeps width x height at least
  // target_width x target_height (a side of -1 or less places no demand on that side).
  static int ScaleDenominator(int width, int height, int target_width, int target_height);
};

}  // namespace marrowleaf::platform
