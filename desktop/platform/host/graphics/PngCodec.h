#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// PNG files to bitmaps and back through libpng; its errors jump back here and give an empty result
// instead of aborting. The size is checked against the bitmap caps before any pixel is decoded.
// Files are written for speed (fast compression, one cheap filter): opaque grey bitmaps as 8-bit
// grey, other opaque ones as RGB, both through libdeflate (DeflatePng), which also reads such
// files back; the rest as RGBA through libpng. A bitmap whose tones were adjusted for the panel is
// written with a private chunk that says so, and reads back marked the same way.
class PngCodec {
 public:
  static SmartBitmap Decode(const std::string& bytes, int format);
  // "" for an empty bitmap or a failure.
  static std::string Encode(const SmartBitmap& bitmap);
};

}  // namespace marrowleaf::platform
