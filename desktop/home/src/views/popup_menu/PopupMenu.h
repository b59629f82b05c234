#pragma once

#include <memory>

#include "controllers/MenuScreen.h"
#include "views/FrameScreen.h"

namespace marrowleaf::desktop {

// One level of a context menu, over the whole frame. It keeps the entries it is given and the menu
// of the level above it; how it places and draws them is built on this base.
class PopupMenu : public FrameScreen, public MenuScreen {
 public:
  PopupMenu() : FrameScreen("PopupMenu", "PopupMenu") {}

  // MenuScreen
  void SetItems(std::shared_ptr<PopupMenuItemDataList> items) override { items_ = std::move(items); }
  void SetParentMenu(std::shared_ptr<MenuScreen> parent) override { parent_ = std::move(parent); }

  const std::shared_ptr<PopupMenuItemDataList>& Items() const { return items_; }
  const std::shared_ptr<MenuScreen>& ParentMenu() const { return parent_; }

 private:
  std::shared_ptr<PopupMenuItemDataList> items_;
  std::shared_ptr<MenuScreen> parent_;
};

}  // namespace marrowleaf::desktop
