#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// A plain cover set in type for a book without a picture: the title large in a serif face on a
// calm background chosen from the title, a thin rule, and the author below. Drawn on the calling
// thread into a bitmap of its own, so the worker thread can make it.
class TypographicCover {
 public:
  static SmartBitmap Make(const std::string& title, const std::string& author, int width,
                          int height, int format);

 private:
  static int BackgroundFor(const std::string& title);
};

}  // namespace marrowleaf::platform
