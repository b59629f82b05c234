#pragma once

#include <memory>
#include <vector>

#include "platform/mw/MWRect.h"

namespace marrowleaf::desktop {

class PopupMenuItemData;

// The entries of one context menu level, as the controller builds them and a PopupMenu shows them.
class PopupMenuItemDataList {
 public:
  // Sides of the anchor where the menu may appear.
  static constexpr int kRight = 0x01;
  static constexpr int kLeft = 0x04;
  static constexpr int kBelow = 0x10;
  static constexpr int kAbove = 0x40;

  MWRect anchor;
  int placement = kRight | kLeft | kBelow | kAbove;
  std::vector<std::shared_ptr<PopupMenuItemData>> items;
  // The level this one was opened from. Weak: the parent owns its entries and their submenus, so a
  // strong link back would keep every level of a menu alive after it closes.
  std::weak_ptr<PopupMenuItemDataList> parent;

  void Add(std::shared_ptr<PopupMenuItemData> entry) { items.push_back(std::move(entry)); }
  void Clear() { items.clear(); }
  bool IsEmpty() const { return items.empty(); }
  int GetCount() const { return static_cast<int>(items.size()); }
  std::shared_ptr<PopupMenuItemData> GetItem(int index) const {
    if (index < 0 || index >= GetCount()) return nullptr;
    return items[static_cast<size_t>(index)];
  }
  void SetParent(const std::shared_ptr<PopupMenuItemDataList>& list) { parent = list; }
  std::shared_ptr<PopupMenuItemDataList> GetParent() const { return parent.lock(); }
};

}  // namespace marrowleaf::desktop
