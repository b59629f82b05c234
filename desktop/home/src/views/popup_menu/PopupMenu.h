#pragma once

#include <map>
#include <memory>

#include "controllers/MenuScreen.h"
#include "platform/utils/SmartBitmap.h"
#include "views/FocusReturn.h"
#include "views/FrameScreen.h"

class MWBitmap;

namespace marrowleaf::desktop {

class PopupMenuList;

// One level of a context menu. The window covers the whole frame: it shows the screen as it was
// when the menu opened, dimmed, with the element the menu belongs to (its anchor) left bright, and
// over it the list of entries beside the anchor with a pointer towards it (PopupMenuPlacement). A
// submenu dims the menu it came from in turn, leaving bright the entry that opened it.
//
// Choosing an entry raises CMD_OPEN_ITEM with the entry's index and, as second parameter, the index
// again or -1 for an entry that does nothing (kind 3). A tap outside the list, the Back key and the
// layout's "back_btn" raise CMD_CLOSE. While shown the list has the key focus; on devices without a
// touch panel (or with the screen reader on) its first entry is selected. Hiding gives the focus
// back to the window that had it and drops the picture of the screen, so the next opening takes a
// new one.
//
// Layout "PopupMenu": "List" (a PopupMenuList), "arrow_bitmap" (the pointer), "back_btn".
// Attributes: "arrow_left" (theme image of the pointer of a menu right of its anchor, which points
// left; default "context_menu_pointer"; mirrored for a menu left of it) and "arrow_up" (the pointer
// of a menu below its anchor; default "context_menu_pointer_up"; mirrored for one above it).
class PopupMenu : public FrameScreen, public MenuScreen {
 public:
  static constexpr int kDimPercent = 50;

  PopupMenu();
  ~PopupMenu() override;

  // MenuScreen
  void SetItems(std::shared_ptr<PopupMenuItemDataList> items) override;
  void SetParentMenu(std::shared_ptr<MenuScreen> parent) override;
  // Screen
  void Show() override;
  void Hide() override;

  const std::shared_ptr<PopupMenuItemDataList>& Items() const { return items_; }
  PopupMenu* ParentMenu() const { return parent_menu_.get(); }
  PopupMenuList* GetList() const { return list_; }
  // The side of the anchor the list took (a placement bit); 0 before the first entries.
  int Side() const { return side_; }
  // The part of the screen the list covers (empty while it is hidden).
  MWRect ListRect() const;

  int OnCreate() override;
  int LoadAttributes(const AttributeLoader& loader) override;
  void OnShow() override;
  int OnDraw(MWGraphics& graphics) override;
  int MainHandler(int type, int par1, int par2) override;
  int OnCommand(MWCommand& command) override;

 private:
  void BindRow(MWWindow* row, int index);
  void Arrange();
  void TakeFocus();
  // The part of the screen this level dims: all of it for the outermost menu, the menu it came from
  // for a submenu.
  MWRect DimmedRect() const;

  PopupMenuList* list_ = nullptr;
  MWBitmap* arrow_ = nullptr;
  std::shared_ptr<PopupMenuItemDataList> items_;
  std::map<int, SmartBitmap> pointer_bitmaps_;
  std::shared_ptr<PopupMenu> parent_menu_;
  SmartBitmap snapshot_;
  FocusReturn focus_;
  int side_ = 0;
  bool pen_down_ = false;
};

}  // namespace marrowleaf::desktop
