#pragma once

#include <memory>

#include "controllers/Screen.h"
#include "views/popup_menu/PopupMenuItemDataList.h"

namespace marrowleaf::desktop {

// What the controller asks of the window of one context-menu level.
class MenuScreen : public virtual Screen {
 public:
  virtual void SetItems(std::shared_ptr<PopupMenuItemDataList> items) = 0;
  virtual void SetParentMenu(std::shared_ptr<MenuScreen> parent) = 0;
};

}  // namespace marrowleaf::desktop
