#pragma once

#include <string>

#include "controllers/UserAppList.h"
#include "views/popup_menu/PopupMenuItemDataList.h"

namespace marrowleaf::desktop {

// The context menus of applications, built as data for the popup menu: the menu of a shortcut
// slot of the home screen's row, and the menu of an application on the applications screen.
// Entries carry the actions that Controller::AppMenuAction carries out.
class AppMenuBuilder {
 public:
  static constexpr int kActionSetApplication = 2001;
  static constexpr int kActionMoveLeft = 2002;
  static constexpr int kActionMoveRight = 2003;
  static constexpr int kActionRemove = 2004;
  static constexpr int kActionAppend = 2005;
  // A place of a full row that holds nothing: shown, but choosing it does nothing.
  static constexpr int kActionNone = 2000;
  // Submenus appear right or left of the entry that opens them.
  static constexpr int kSubmenuPlacement = PopupMenuItemDataList::kRight | PopupMenuItemDataList::kLeft;

  // A slot of the row: replace, move left, move right and remove an application, or add one to an
  // empty slot. The submenu lists the applications that can go there.
  static void BuildSlotMenu(UserAppList& apps, int slot, PopupMenuItemDataList& menu);
  // An application of the applications screen: add it to the row, at its end while the row has
  // room, else in place of one of the row's applications.
  static void BuildAppListMenu(UserAppList& apps, const std::string& id, PopupMenuItemDataList& menu);

 private:
  static std::shared_ptr<PopupMenuItemDataList> ApplicationChoices(UserAppList& apps);
  static std::shared_ptr<PopupMenuItemDataList> RowPlaces(UserAppList& apps, const std::string& id);
};

}  // namespace marrowleaf::desktop
