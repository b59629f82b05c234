// Where a context menu goes beside the element it belongs to: a table of anchors, sizes and
// allowed sides, checked against the side taken, the menu staying on screen and clear of its
// anchor, and the pointer sitting between the two.
#include "views/popup_menu/PopupMenuPlacement.h"

#include <gtest/gtest.h>

#include <string>

#include "views/popup_menu/PopupMenuItemDataList.h"

namespace marrowleaf::desktop {
namespace {

using List = PopupMenuItemDataList;
using Placement = PopupMenuPlacement;

constexpr MWRect kScreen{0, 0, 1000, 1400};
constexpr int kPointerLength = 30;
constexpr int kPointerBreadth = 60;
constexpr int kOverlap = 4;

Placement::Request RequestFor(const MWRect& anchor, int placement, int width, int height) {
  Placement::Request request;
  request.area = kScreen;
  request.anchor = anchor;
  request.placement = placement;
  request.width = width;
  request.height = height;
  request.pointer_length = kPointerLength;
  request.pointer_breadth = kPointerBreadth;
  request.pointer_overlap = kOverlap;
  request.row_height = 100;
  request.chrome = 8;
  return request;
}

bool Inside(const MWRect& inner, const MWRect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

std::string Describe(const MWRect& r) {
  return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
         std::to_string(r.h);
}

struct Case {
  const char* what;
  MWRect anchor;
  int placement;
  int width;
  int height;
  int side;         // the side expected
  bool clear;       // the menu leaves the anchor uncovered
  int height_kept;  // the menu's height, -1 for "as asked"
};

TEST(PopupMenuPlacementTest, EachMenuTakesItsSideStaysOnScreenAndPointsAtItsElement) {
  const Case cases[] = {
      {"a tile on the left: right of it", {40, 500, 300, 450}, 5, 600, 420, List::kRight, true, -1},
      {"a tile on the right: left of it", {660, 500, 300, 450}, 5, 600, 420, List::kLeft, true, -1},
      {"room on the right wins over the left", {350, 500, 300, 450}, 5, 340, 420, List::kRight,
       true, -1},
      {"right blocked, left only just", {380, 500, 300, 450}, 5, 354, 420, List::kLeft, true, -1},
      {"a wide menu by a middle tile goes above, shortened to the rows that fit",
       {350, 600, 300, 450}, 5, 600, 620, List::kAbove, true, 458},
      {"the same tile lower on screen: below when there is more room there",
       {350, 200, 300, 450}, 5, 600, 620, List::kBelow, true, -1},
      {"only the left is allowed and it fits", {660, 500, 300, 450}, List::kLeft, 600, 420,
       List::kLeft, true, -1},
      {"below allowed and free", {400, 100, 200, 80}, List::kBelow | List::kAbove, 500, 600,
       List::kBelow, true, -1},
      {"above when below is too short", {400, 1200, 200, 80}, List::kBelow | List::kAbove, 500,
       600, List::kAbove, true, -1},
      {"a menu taller than either side is shortened on the larger one", {0, 550, 1000, 300}, 0x55,
       500, 900, List::kBelow, true, 458},
      {"no side fits even two rows: over the anchor, on screen", {0, 100, 1000, 1200}, 0x55, 500,
       900, List::kBelow, false, 900},
      {"an anchor at the screen's edge keeps the menu inside", {0, 1300, 200, 100}, 0x55, 400,
       300, List::kRight, true, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const Placement::Result result =
        Placement::Place(RequestFor(c.anchor, c.placement, c.width, c.height));
    EXPECT_EQ(result.side, c.side);
    EXPECT_TRUE(Inside(result.menu, kScreen)) << Describe(result.menu);
    EXPECT_EQ(result.menu.w, c.width);
    EXPECT_EQ(result.menu.h, c.height_kept < 0 ? c.height : c.height_kept);
    EXPECT_EQ(result.menu.Intersect(c.anchor).IsEmpty(), c.clear) << Describe(result.menu);
    // The pointer reaches from the menu's edge towards the anchor.
    const MWRect& pointer = result.pointer;
    switch (result.side) {
      case List::kRight:
        EXPECT_EQ(pointer.Right(), result.menu.x + kOverlap);
        EXPECT_EQ(pointer.w, kPointerLength);
        break;
      case List::kLeft:
        EXPECT_EQ(pointer.x, result.menu.Right() - kOverlap);
        break;
      case List::kBelow:
        EXPECT_EQ(pointer.Bottom(), result.menu.y + kOverlap);
        EXPECT_EQ(pointer.h, kPointerLength);
        break;
      case List::kAbove:
        EXPECT_EQ(pointer.y, result.menu.Bottom() - kOverlap);
        break;
    }
  }
}

TEST(PopupMenuPlacementTest, ThePointerFollowsTheAnchorsCentreWithinTheMenusEdge) {
  // A tall menu beside a small element: level with the element's centre.
  Placement::Result beside =
      Placement::Place(RequestFor(MWRect{40, 700, 200, 100}, 5, 400, 600));
  ASSERT_EQ(beside.side, List::kRight);
  EXPECT_EQ(beside.pointer.y + beside.pointer.h / 2, 750);
  // An element near the top: the menu is pushed down onto the screen, the pointer stays on its edge.
  Placement::Result top = Placement::Place(RequestFor(MWRect{40, 0, 200, 40}, 5, 400, 600));
  ASSERT_EQ(top.side, List::kRight);
  EXPECT_EQ(top.menu.y, 0);
  EXPECT_GE(top.pointer.y, top.menu.y + kOverlap);
  // Below a wide element, the pointer stands under the element's centre.
  Placement::Result below =
      Placement::Place(RequestFor(MWRect{100, 100, 300, 80}, List::kBelow, 500, 300));
  EXPECT_EQ(below.pointer.x + below.pointer.w / 2, 250);
}

}  // namespace
}  // namespace marrowleaf::desktop
