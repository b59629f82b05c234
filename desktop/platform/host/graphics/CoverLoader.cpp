#include "platform/utils/CoverLoader.h"

#include "BitmapScaler.h"

using marrowleaf::platform::BitmapScaler;

SmartBitmap CoverLoader::stretchBitmapOpenCv(const SmartBitmap& bitmap, int width, int height,
                                             int quality) {
  return BitmapScaler::Scale(bitmap, width, height, quality != 0);
}
