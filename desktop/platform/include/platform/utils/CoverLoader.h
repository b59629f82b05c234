#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

// Cover images of the utilities library.
class CoverLoader {
 public:
  // A copy of the bitmap scaled to width x height. Shrinking first averages whole blocks of
  // pixels (a box filter down to less than twice the target size) and then interpolates
  // bilinearly, which keeps text on covers legible and is fast. `quality` 0 skips the box filter.
  // Empty for an empty bitmap or a size below 1 x 1.
  static SmartBitmap stretchBitmapOpenCv(const SmartBitmap& bitmap, int width, int height,
                                         int quality);

  // The library's own picture of a book, found by its fast hash or its resource id in the cover
  // store. True when bitmap was filled; width/height -1 keep the stored size. Defined by
  // platform_covers (callers link it).
  static bool LoadCoverByHashOrResourceId(const std::string& fast_hash, int kind,
                                          const std::string& resource_id, int width, int height,
                                          int flags, SmartBitmap& bitmap, bool only_cached);
};
