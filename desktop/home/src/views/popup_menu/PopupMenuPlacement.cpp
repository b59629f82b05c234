#include "views/popup_menu/PopupMenuPlacement.h"

#include <algorithm>

#include "views/popup_menu/PopupMenuItemDataList.h"

namespace marrowleaf::desktop {
namespace {

using List = PopupMenuItemDataList;

// value moved into [low, high]; when the range is empty, low wins (the menu's top or left edge
// stays on screen).
int Within(int value, int low, int high) {
  return std::max(low, std::min(value, high));
}

}  // namespace

MWRect PopupMenuPlacement::Candidate(const Request& request, int side) {
  const MWRect& area = request.area;
  const MWRect& anchor = request.anchor;
  const int width = std::min(request.width, area.w);
  const int height = std::min(request.height, area.h);
  const int reach = request.pointer_length - request.pointer_overlap;
  int x = 0;
  int y = 0;
  if (side == List::kRight || side == List::kLeft) {
    x = side == List::kRight ? anchor.Right() + reach : anchor.x - width - reach;
    y = anchor.y + anchor.h / 2 - height / 2;
  } else {
    x = anchor.x + anchor.w / 2 - width / 2;
    y = side == List::kBelow ? anchor.Bottom() + reach : anchor.y - height - reach;
  }
  return MWRect{Within(x, area.x, area.Right() - width), Within(y, area.y, area.Bottom() - height),
                width, height};
}

bool PopupMenuPlacement::Clear(const Request& request, int side, const MWRect& menu) {
  const MWRect& anchor = request.anchor;
  switch (side) {
    case List::kRight: return menu.x >= anchor.Right();
    case List::kLeft: return menu.Right() <= anchor.x;
    case List::kBelow: return menu.y >= anchor.Bottom();
    case List::kAbove: return menu.Bottom() <= anchor.y;
    default: return false;
  }
}

MWRect PopupMenuPlacement::Pointer(const Request& request, int side, const MWRect& menu) {
  const MWRect& anchor = request.anchor;
  const int length = request.pointer_length;
  const int breadth = request.pointer_breadth;
  const int overlap = request.pointer_overlap;
  if (side == List::kRight || side == List::kLeft) {
    const int x = side == List::kRight ? menu.x - length + overlap : menu.Right() - overlap;
    const int y = Within(anchor.y + anchor.h / 2 - breadth / 2, menu.y + overlap,
                         menu.Bottom() - overlap - breadth);
    return MWRect{x, y, length, breadth};
  }
  const int y = side == List::kBelow ? menu.y - length + overlap : menu.Bottom() - overlap;
  const int x = Within(anchor.x + anchor.w / 2 - breadth / 2, menu.x + overlap,
                       menu.Right() - overlap - breadth);
  return MWRect{x, y, breadth, length};
}

PopupMenuPlacement::Result PopupMenuPlacement::Place(const Request& request) {
  const int vertical_allowed = request.placement & (List::kBelow | List::kAbove);
  // Without a vertical side of its own, a menu that fits beside the anchor on no allowed side
  // still goes below or above it rather than over it.
  const int vertical = vertical_allowed != 0 ? vertical_allowed : List::kBelow | List::kAbove;
  const int order[] = {List::kRight, List::kLeft, List::kBelow, List::kAbove};
  for (int side : order) {
    const bool allowed = (side == List::kRight || side == List::kLeft)
                             ? (request.placement & side) != 0
                             : (vertical & side) != 0;
    if (!allowed)
      continue;
    const MWRect menu = Candidate(request, side);
    if (Clear(request, side, menu))
      return Result{side, menu, Pointer(request, side, menu)};
  }
  const int room_below = request.area.Bottom() - request.anchor.Bottom();
  const int room_above = request.anchor.y - request.area.y;
  int side = room_below >= room_above ? List::kBelow : List::kAbove;
  if ((vertical & side) == 0)
    side = vertical & List::kBelow ? List::kBelow : List::kAbove;
  Request shortened;
  const Request& used = Shortened(request, side, &shortened) ? shortened : request;
  const MWRect menu = Candidate(used, side);
  return Result{side, menu, Pointer(used, side, menu)};
}

bool PopupMenuPlacement::Shortened(const Request& request, int side, Request* shortened) {
  if (request.row_height <= 0)
    return false;
  const int reach = request.pointer_length - request.pointer_overlap;
  const int room = side == List::kBelow ? request.area.Bottom() - request.anchor.Bottom() - reach
                                        : request.anchor.y - request.area.y - reach;
  const int rows = (room - request.chrome) / request.row_height;
  if (rows < 2)
    return false;
  // Half a row shows at the bottom edge: the reader sees that the list goes on.
  *shortened = request;
  shortened->height =
      std::min(request.height, request.chrome + rows * request.row_height - request.row_height / 2);
  return true;
}

}  // namespace marrowleaf::desktop
