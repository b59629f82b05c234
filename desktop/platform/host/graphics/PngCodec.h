#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// PNG files to bitmaps and back, through libpng's simplified interface, which reports errors by
// return value instead of aborting. The size is checked against the bitmap caps before any pixel
// is decoded.
class PngCodec {
 public:
  static SmartBitmap Decode(const std::string& bytes, int format);
  // "" for an empty bitmap or a failure.
  static std::string Encode(const SmartBitmap& bitmap);
};

}  // namespace marrowleaf::platform
