#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// The first page of a PDF rendered as a picture. Locked (encrypted) documents give nothing.
class PdfCover {
 public:
  // width and height: the size the page is meant for (-1: a full-size picture). `format` is a
  // SmartBitmapFormat.
  static SmartBitmap Render(const std::string& host_path, int width, int height, int format);
};

}  // namespace marrowleaf::platform
