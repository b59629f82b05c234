#pragma once

#include <memory>
#include <string>

#include "platform/utils/SmartBitmap.h"
#include "views/popup_menu/PopupMenuItemDataList.h"

namespace marrowleaf::desktop {

// One entry of a context menu: an action with its argument, or a submenu, with an optional icon.
class PopupMenuItemData {
 public:
  static constexpr int kKindOrdinary = 2;
  static constexpr int kKindNoAction = 3;

  PopupMenuItemData(int action_id, std::string action_data, int entry_kind, std::string entry_text)
      : action(action_id),
        data(std::move(action_data)),
        kind(entry_kind),
        text(std::move(entry_text)),
        submenu(std::make_shared<PopupMenuItemDataList>()) {}
  PopupMenuItemData(int action_id, int entry_kind, std::string entry_text)
      : PopupMenuItemData(action_id, std::string(), entry_kind, std::move(entry_text)) {}
  PopupMenuItemData(int entry_kind, std::string entry_text,
                    std::shared_ptr<PopupMenuItemDataList> entries)
      : action(0), kind(entry_kind), text(std::move(entry_text)), submenu(std::move(entries)) {}

  int action = 0;
  std::string data;
  int kind = kKindOrdinary;
  SmartBitmap icon;
  std::string text;
  std::shared_ptr<PopupMenuItemDataList> submenu;
};

}  // namespace marrowleaf::desktop
