#pragma once

#include <memory>

#include "platform/mw/MWCommand.h"
#include "views/popup_menu/PopupMenuItemData.h"

namespace marrowleaf::desktop {

class Controller;

// The commands of the screens other than the home screen: the add-books grid (open or hold one of
// the group's books, close), any open context menu (enter a submenu, choose an entry, close a
// level) and the Wi-Fi prompt (connect, close). Every closing path hides its screen and returns to
// the state it was opened from; choosing a menu entry closes every level before the entry's action
// runs, so the action sees the screen the menu was opened on. Works on the controller's screens and
// state. Event-loop thread only.
class SecondaryViewCommands {
 public:
  explicit SecondaryViewCommands(Controller& controller) : controller_(controller) {}

  void AddBooksViewOnCommand(MWCommand& command);
  void PopupMenuOnCommand(MWCommand& command);
  void WiFiDialogOnCommand(MWCommand& command);
  // Carries out a chosen entry: book actions (1001-1099) and application actions (2001-2099).
  void MenuAction(const std::shared_ptr<PopupMenuItemData>& entry);

 private:
  void OpenGroupBook(int index);
  void HoldGroupBook(const MWCommand& command);
  void CloseAddBooksView();
  void OpenSubmenu(const std::shared_ptr<PopupMenuItemDataList>& list,
                   const std::shared_ptr<PopupMenuItemData>& entry, const MWCommand& command);
  void CloseMenuLevel();
  void CloseAllMenuLevels();
  // The last menu level closed: the screen it was opened on comes back, cleaned of the menu.
  void LeaveMenus();
  void CloseWiFiDialog();

  Controller& controller_;
};

}  // namespace marrowleaf::desktop
