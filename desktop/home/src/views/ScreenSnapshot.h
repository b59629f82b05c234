#pragma once

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::desktop {

// A picture of the whole screen as the reader sees it, for a window that shows the screen dimmed
// behind it (a menu, a prompt). What waits to be drawn is drawn first, so that the picture never
// keeps a state already left behind (a tile still shown pressed after its long press).
class ScreenSnapshot {
 public:
  static SmartBitmap Take();
};

}  // namespace marrowleaf::desktop
