#pragma once

#include "platform/mw/MWRect.h"

class MWWindow;

namespace marrowleaf::platform {

// The frame's redraw pass. Areas that a box of the system (a message, a dialog) left uncovered are
// drawn again first, with everything the frame shows there, as clean updates. Then windows that
// changed since the last pass are drawn again, each within its visible rectangle; a window
// without a background of its own is drawn by repainting, in that rectangle, the nearest ancestor
// that has one (so old content never shows through), and the rectangle is marked for the screen: a
// window drawn in the pressed style as a quick black-and-white update, everything else as a
// partial one. A window that lies above a changed one (a menu over a tile) is drawn again where
// they overlap, so what was drawn anew stays under it. The graphics layer merges the rectangles
// and chooses how they reach the panel.
class FramePainter {
 public:
  // Returns the number of changed windows drawn.
  static int PaintChanged(MWWindow& frame);
  // Asks the next pass to draw an area of the screen again (screen coordinates).
  static void MarkUncovered(const MWRect& area);
  // Notes the panel (status bar) as shown with what DrawPanel set: the display paints it when the
  // update of its rectangle reaches the screen.
  static void PaintPanel(const MWRect& screen_rect);
  // True when the panel's content changed since PaintPanel.
  static bool PanelChanged();
};

}  // namespace marrowleaf::platform
