#pragma once

#include <string>
#include <vector>

#include "platform/mw/LayoutManager.h"
#include "platform/mw/MWScrollView.h"
#include "views/ApplicationsGrid.h"

namespace marrowleaf::desktop {

class AppItem;

// The scrolling list of the applications screen: titled groups of application items in a grid.
// Titles and items are made from the prototypes "GroupTitlePrototype" and "AppItemPrototype" of the
// layout file "desktop_prototype" (with the theme's layout suffix). RefreshStruct lays them out:
// the columns follow the widest title (ApplicationsGrid::Columns), every item of a row has the row's
// height, and the rows of each group follow its title.
//
// On devices without a touch panel the arrow keys move the focus by ApplicationsGrid::Navigate and
// the list scrolls by whole screens to keep it in sight. Items raise 20 (tap) and 21 (hold) with the
// application id and their screen rectangle.
//
// Layout attributes (pixels or lengths): "row_size" (4; the layout pass overwrites it),
// "application_3_side_offset", "application_4_side_offset", "application_5_side_offset" (6: the
// horizontal margin of an item at that column count), "application_top_offset" (43: below a
// title), "application_bottom_offset" (11: below a group's last row), "application_inside_offset"
// (17: above and below an item's content).
class ApplicationsList : public MWScrollView {
 public:
  ApplicationsList() { SetClassName("ApplicationsList"); }

  void Clear();
  void AddGroup(const std::string& title);
  // Adds the application to a group; ignored (and logged) for an unknown group, an empty id or an
  // application that can't be shown.
  void AddApplication(int group_index, const std::string& id);
  void RefreshStruct();
  // Scrolls the item into sight and gives it the focus.
  void ScrollToItem(int group, int item);
  // Gives the first item the focus where the reader sees the focus (no touch panel, or the screen
  // reader on).
  void FocusFirstItem();

  int GetGroupCount() const { return static_cast<int>(app_groups_.size()); }
  const std::vector<AppItem*>& GroupItems(int group) const;
  MWWindow* GroupTitle(int group) const;
  int GetRowSize() const { return row_size_; }
  // The focused item's place, or group -1 when no item of the list has the focus.
  ApplicationsGrid::Place FocusedPlace() const;

  int LoadAttributes(const AttributeLoader& loader) override;
  int OnFocusSet(MWWindow* from, int key) override;
  int MainHandler(int type, int par1, int par2) override;
  int OnCommand(MWCommand& command) override;
  int AccessibilityOpenCommandHandler(int command) override;

 private:
  struct Group {
    MWWindow* title = nullptr;
    std::vector<AppItem*> items;
  };

  const LayoutManager& Prototypes();
  std::vector<int> GroupSizes() const;
  int SideOffset(int columns) const;
  // The widest title of all items (at least 1) and the tallest content at an item width.
  int WidestTitle() const;
  int TallestContent(int item_width) const;
  int HandleArrowKey(int key);
  // Pages the list towards an item that is out of sight.
  void PageTowards(const MWWindow& item);

  std::vector<Group> app_groups_;
  LayoutManager prototypes_;
  bool prototypes_loaded_ = false;
  int row_size_ = 4;
  int side_offset_3_ = 6;
  int side_offset_4_ = 6;
  int side_offset_5_ = 6;
  int top_offset_ = 43;
  int bottom_offset_ = 11;
  int inside_offset_ = 17;
};

}  // namespace marrowleaf::desktop
