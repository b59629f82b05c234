#pragma once

#include <vector>

#include "DialogBox.h"
#include "platform/mw/MWRect.h"

class MWGraphics;

namespace marrowleaf::platform {

// Draws the DialogLayer's boxes as the device draws its system dialogs: a white box with a thick
// black frame, rounded corners and a white margin around it, centred above the status panel, sized in millimetres so that it
// looks the same on every screen. At the top an icon for the kind of note (information, question,
// warning, error) beside the bold title (two lines at most), under a thin rule the text, wrapped to
// the box and ended with "…" at a whole line when the box would outgrow the screen, and at the
// bottom a row of equal buttons; the focused one is black with white text, the one under the
// finger dark grey. A message has no buttons.
//
// Like the panel, the boxes live on top of the application's picture: they are painted into the
// framebuffer whenever an update reaches them, so the application may draw underneath at any time.
// Event-loop thread only.
class DialogPainter {
 public:
  // Where a box and its parts go, in the box's own coordinates except `box` (screen).
  struct Geometry {
    MWRect box;
    MWRect icon;
    MWRect title;
    MWRect rule;
    MWRect text;
    std::vector<MWRect> buttons;
  };

  static Geometry Layout(const DialogBox& box);
  // Sets the box's screen rectangles (the DialogLayer's place hook).
  static void Place(DialogBox* box);
  // Shows a changed area on the screen (the DialogLayer's show hook).
  static void Show(const MWRect& area, int update_kind);
  // Paints the boxes that `update` reaches, bottom first.
  static void PaintFor(const MWRect& update);
  static void PaintAll();

 private:
  static void Paint(const DialogBox& box);
  static void PaintIcon(MWGraphics& graphics, const MWRect& rect, int icon);
  static void PaintButton(MWGraphics& graphics, const MWRect& rect, const std::string& caption,
                          bool focused, bool pressed);
};

}  // namespace marrowleaf::platform
