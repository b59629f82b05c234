#pragma once

#include <memory>
#include <string>

#include "platform/mw/MWCommand.h"
#include "views/popup_menu/PopupMenuItemData.h"

class MWWindow;

namespace marrowleaf::desktop {

class Controller;

// The context menus of applications, opened by a long press on a shortcut of the home screen's
// row or on an application of the applications screen, and the actions of their entries. The held
// tile stays highlighted while its menu is open. Works on the controller's menu state (its entry
// list, the slot the menu is for, the held tile). Event-loop thread only.
class AppMenus {
 public:
  explicit AppMenus(Controller& controller) : controller_(controller) {}

  void BuildAppMenu(int slot);
  void BuildAppListMenu(const std::string& id);
  void AppMenuAction(const std::shared_ptr<PopupMenuItemData>& entry);

  // Highlights the application tile that sent a hold (nothing for other senders).
  void HoldAppItem(MWWindow* sender);
  void ReleaseHeldAppItem();
  // Opens the menu built at the command's rectangle; false when it is empty.
  bool OpenAppMenu(const MWCommand& command);

 private:
  // After an application went to the row, the reader sees the row.
  void ReturnToMainView();
  void RedrawMainView();

  Controller& controller_;
};

}  // namespace marrowleaf::desktop
