#pragma once

#include "platform/mw/MWRect.h"

namespace marrowleaf::platform {

// The device's status panel, the strip of PanelHeight() at the bottom of the screen that belongs to
// the system rather than to the program. The program only asks for it (DrawPanel, the panel's
// transparency) and marks its rectangle for an update; the simulator paints it into the framebuffer
// when an update reaches those rows: a thin rule on top, the title and text on the left, a battery
// on the right with the network and the count of unseen notifications beside it, a thick frame
// while the key focus rests on it, dimmed while the program makes the panel transparent under its
// menus.
class PanelPainter {
 public:
  // The panel's rectangle on the screen (empty when the profile has no panel).
  static MWRect Rect();
  // Paints the panel when `update` reaches into it.
  static void PaintFor(const MWRect& update);
  static void Paint();
};

}  // namespace marrowleaf::platform
