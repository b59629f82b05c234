#pragma once

#include "data/Book.h"
#include "platform/utils/SmartBitmap.h"

class MWWindow;

namespace marrowleaf::desktop {

// A store offer's cover in a window of the store block: the cover window's child bitmap "cover"
// gets the picture (inverted on an inverted screen), sized to the window. Returns the picture, or
// an empty one while it is missing.
class StoreCover {
 public:
  static SmartBitmap Fill(MWWindow* cover_window, const Book& book);
};

}  // namespace marrowleaf::desktop
