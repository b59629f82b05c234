#pragma once

#include <map>
#include <string>

#include "platform/mw/MWWindow.h"

namespace marrowleaf::desktop {

// One row of a context menu: the element of a PopupMenuList, made from the layout's "Item". Its
// children are "Icon", "Title", "SubmenuMark" (shown for an entry that opens a further menu) and
// "separator" (hidden on the last row). A pressed row is drawn inverted, white on black, so that
// the reader sees the touch taken on e-ink; a row whose entry does nothing is drawn grey.
//
// A row is made at the prototype's width and then set to the list's width: Arrange keeps the title
// and the separator stretched between their margins and the submenu mark at the right edge.
class PopupMenuRow : public MWWindow {
 public:
  PopupMenuRow() { SetClassName("PopupMenuRow"); }

  // Marks the entry as one that does nothing when chosen (drawn grey).
  void SetInactive(bool inactive);
  // Whether the menu keeps a column for icons: in a menu without any icon the titles start where
  // the icons would, rather than after an empty column.
  void SetIconColumn(bool shown);
  bool IsInactive() const { return inactive_; }
  // Places the children for the row's present width: the title ends before the submenu mark when
  // the mark shows.
  void Arrange();
  // The width the row needs to show its title whole, with the room the layout keeps around it.
  int NeededWidth() const;

  int cloneFromPrototype(const MWWindow* prototype) override;
  void OnLayoutLoaded() override;
  int OnDraw(MWGraphics& graphics) override;
  std::unique_ptr<MWWindow> factoryMethod() const override;

 private:
  void RememberMargins(const MWWindow& layout_row);
  // The room right of the title: the layout's margin, or the submenu mark when it shows.
  int RoomRightOfTitle() const;
  int RightMargin(const std::string& child) const;

  // How the layout placed a child against the row's right edge.
  struct Margin {
    int left = 0;            // its left edge in the layout
    int right = 0;           // distance of its right edge from the row's right edge
    bool right_side = false;  // nearer the right edge than the left one
  };

  bool inactive_ = false;
  bool icon_column_ = true;
  std::map<std::string, Margin> margins_;
};

}  // namespace marrowleaf::desktop
