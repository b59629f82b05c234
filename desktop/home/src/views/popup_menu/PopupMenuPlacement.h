#pragma once

#include "platform/mw/MWRect.h"

namespace marrowleaf::desktop {

// Where a context menu goes next to the element it belongs to (its anchor), and where its pointer
// goes. All rectangles are in the coordinates of the area the menu must stay in (the menu window).
//
// The sides are tried in this order: right of the anchor, then left, each when the placement mask
// allows it and the menu, pushed back into the area, does not reach into the anchor; then below
// and above in the same way. When the mask allows neither vertical side, a menu that fits on no
// side it allows still goes below or above: one that covers the element it belongs to would hide
// what the reader chose. When nothing fits outright, the vertical side with more room is taken and
// the menu is shortened to the rows that fit there, the last one cut in half so that the reader
// sees the list scroll on, as long as two rows fit;
// otherwise it keeps its height and lies over the anchor as little as the area allows.
// The menu is always kept inside the area, and the pointer sits on the side facing the anchor,
// level with the anchor's centre as far as the menu's edge allows.
class PopupMenuPlacement {
 public:
  struct Request {
    MWRect area;      // the bounds the menu must stay in
    MWRect anchor;    // the element the menu belongs to
    int placement;    // allowed sides (PopupMenuItemDataList::kRight, kLeft, kBelow, kAbove)
    int width;        // the menu's width
    int height;       // the menu's height
    int pointer_length;  // how far the pointer reaches out from the menu's edge (its image's width
                         // for the sides, its height for below and above)
    int pointer_breadth;  // the pointer image's size along the menu's edge
    int pointer_overlap;  // how far the pointer lies over the menu's edge (its frame)
    int row_height = 0;   // the height of one entry (0: the menu can't be shortened)
    int chrome = 0;       // the menu's height besides its rows (frame, margins, header)
  };
  struct Result {
    int side = 0;   // the side taken (one of the placement bits)
    MWRect menu;    // the menu's rectangle
    MWRect pointer; // the pointer image's rectangle
  };

  static Result Place(const Request& request);

 private:
  static MWRect Candidate(const Request& request, int side);
  // The request with the menu shortened to the rows that fit on a side; false when fewer than two
  // fit.
  static bool Shortened(const Request& request, int side, Request* shortened);
  static bool Clear(const Request& request, int side, const MWRect& menu);
  static MWRect Pointer(const Request& request, int side, const MWRect& menu);
};

}  // namespace marrowleaf::desktop
