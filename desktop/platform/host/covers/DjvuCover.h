#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// The first page of a DjVu document rendered as a picture, within the time budget of a book.
class DjvuCover {
 public:
  static SmartBitmap Render(const std::string& host_path, int width, int height, int format);
};

}  // namespace marrowleaf::platform
