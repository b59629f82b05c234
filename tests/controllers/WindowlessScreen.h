#pragma once

#include "controllers/AddBooksScreen.h"
#include "controllers/MainScreen.h"
#include "controllers/MenuScreen.h"

namespace marrowleaf::desktop {

// A screen without a window for the controller's tests: it keeps what the controller can observe of
// a screen (shown, changed, focused, the menu entries given to it).
class WindowlessScreen : public MainScreen, public MenuScreen, public AddBooksScreen {
 public:
  void Show() override { visible_ = true; }
  void Hide() override { visible_ = false; }
  bool IsVisible() const override { return visible_; }
  void MarkAsChanged() override { ++changes_; }
  void SetFocus() override { focused_ = true; }
  void Refresh() override { ++refreshes_; }
  void ResetToFirstPage() override { page_ = 0; }
  int GetBookSlotCount() const override { return book_slots_; }
  bool UpdateStoreWidgetMode(bool) override { return false; }
  void SetItems(std::shared_ptr<PopupMenuItemDataList> items) override { items_ = std::move(items); }
  void SetParentMenu(std::shared_ptr<MenuScreen> parent) override { parent_ = std::move(parent); }
  void SetItem(std::shared_ptr<Item> item) override { item_ = std::move(item); }
  std::shared_ptr<Item> GetItem() const override { return item_; }

  void SetBookSlotCount(int slots) { book_slots_ = slots; }
  bool IsFocused() const { return focused_; }
  int Changes() const { return changes_; }
  int Refreshes() const { return refreshes_; }
  int Page() const { return page_; }
  const std::shared_ptr<PopupMenuItemDataList>& Items() const { return items_; }
  const std::shared_ptr<MenuScreen>& ParentMenu() const { return parent_; }

 private:
  bool visible_ = false;
  bool focused_ = false;
  int changes_ = 0;
  int refreshes_ = 0;
  int page_ = 0;
  int book_slots_ = 12;
  std::shared_ptr<PopupMenuItemDataList> items_;
  std::shared_ptr<MenuScreen> parent_;
  std::shared_ptr<Item> item_;
};

}  // namespace marrowleaf::desktop
