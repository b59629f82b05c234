#include "controllers/SecondaryViewCommands.h"

#include <cstdio>

#include "controllers/BookMenus.h"
#include "controllers/Controller.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/device.h"
#include "platform/sdk/log.h"
#include "platform/sdk/network.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kBookActionsFirst = 1001;
constexpr int kBookActionsLast = 1099;
constexpr int kAppActionsFirst = 2001;
constexpr int kAppActionsLast = 2099;

MWRect SenderRect(const MWCommand& command) {
  return MWRect{command.x, command.y, command.width, command.height};
}

}  // namespace

void SecondaryViewCommands::AddBooksViewOnCommand(MWCommand& command) {
  switch (command.id) {
    case CMD_OPEN_BOOK_ITEM:
      MW_LOG(MW_LOG_VERBOSE, "CMD_OPEN_BOOK_ITEM [%d; %d]", command.param, command.param2);
      OpenGroupBook(command.param);
      CloseAddBooksView();
      break;
    case CMD_HOLD_BOOK_ITEM:
      MW_LOG(MW_LOG_VERBOSE, "CMD_HOLD_BOOK_ITEM [%d; %d]", command.param, command.param2);
      HoldGroupBook(command);
      break;
    case CMD_CLOSE: CloseAddBooksView(); break;
    default: MW_LOG(MW_LOG_WARNING, "Unhandled command %d", command.id); break;
  }
}

void SecondaryViewCommands::OpenGroupBook(int index) {
  HomeFrame* frame = controller_.frame_;
  const std::shared_ptr<Item> group = frame ? frame->AddBooksView().GetItem() : nullptr;
  if (!group || index < 0 || static_cast<size_t>(index) >= group->books_.size())
    return;
  controller_.OpenBookAction(group->books_[static_cast<size_t>(index)]);
}

// A book of the group gets the menu of a single added book; the "more" tile and a book the library
// does not know have none.
void SecondaryViewCommands::HoldGroupBook(const MWCommand& command) {
  HomeFrame* frame = controller_.frame_;
  const std::shared_ptr<Item> group = frame ? frame->AddBooksView().GetItem() : nullptr;
  const int index = command.param;
  if (!group || index < 0 || static_cast<size_t>(index) >= group->books_.size())
    return;
  const std::shared_ptr<Book>& book = group->books_[static_cast<size_t>(index)];
  if (!book || book->is_more || book->id == -1)
    return;
  std::fprintf(stderr, "item->books_[%d]->path [%s]\n", index, book->path.c_str());
  auto single = std::make_shared<Item>();
  single->type_ = ITEM_ADDED;
  single->books_count_ = 1;
  single->timestamp_ = group->timestamp_;
  single->books_.push_back(book);
  controller_.book_menus_.OpenBookMenu(single, SenderRect(command));
}

void SecondaryViewCommands::CloseAddBooksView() {
  if (HomeFrame* frame = controller_.frame_) {
    frame->AddBooksView().Hide();
    frame->MainView().Show();
  }
  controller_.OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
}

void SecondaryViewCommands::PopupMenuOnCommand(MWCommand& command) {
  switch (command.id) {
    case CMD_CLOSE:
      controller_.app_menus_.ReleaseHeldAppItem();
      if (UserAppList* apps = controller_.parts_.apps)
        apps->RemoveNullApplications();
      CloseMenuLevel();
      break;
    case CMD_OPEN_ITEM: {
      MW_LOG(MW_LOG_VERBOSE, "CMD_OPEN_ITEM [%d; %d]", command.param, command.param2);
      const std::shared_ptr<PopupMenuItemDataList> list = controller_.OpenMenuList();
      const std::shared_ptr<PopupMenuItemData> entry = list ? list->GetItem(command.param) : nullptr;
      MW_RETURN_VOID_IF(!entry, "no entry %d in the open menu", command.param);
      if (entry->submenu && !entry->submenu->IsEmpty()) {
        OpenSubmenu(list, entry, command);
      } else if (command.param2 >= 0) {
        MW_LOG(MW_LOG_VERBOSE, "Do action [%d]", command.param);
        CloseAllMenuLevels();
        if (controller_.app_menu_slot_ == -1)
          controller_.app_menu_slot_ = command.param;
        MenuAction(entry);
        controller_.app_menus_.ReleaseHeldAppItem();
      }
      break;
    }
    default: MW_LOG(MW_LOG_WARNING, "Unhandled command %d", command.id); break;
  }
}

void SecondaryViewCommands::OpenSubmenu(const std::shared_ptr<PopupMenuItemDataList>& list,
                                        const std::shared_ptr<PopupMenuItemData>& entry,
                                        const MWCommand& command) {
  entry->submenu->SetParent(list);
  controller_.submenu_path_.push_back(command.param);
  entry->submenu->anchor = SenderRect(command);
  controller_.OpenState(STATE_POPUP_MENU, STATE_OPEN_PUSH);
  MW_LOG(MW_LOG_VERBOSE, "Open submenu");
}

void SecondaryViewCommands::CloseMenuLevel() {
  controller_.HideState(STATE_POPUP_MENU);
  if (controller_.menu_depth_ != -1)
    controller_.OpenState(STATE_POPUP_MENU, STATE_OPEN_RETURN);
  else
    LeaveMenus();
}

void SecondaryViewCommands::CloseAllMenuLevels() {
  while (controller_.menu_depth_ >= 0) CloseMenuLevel();
}

void SecondaryViewCommands::LeaveMenus() {
  // The menu dimmed the whole screen: it comes back with a clean update.
  MWGraphics::MarkDirty(MWRect(), MW_UPDATE_CLEAN);
  controller_.OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
  if (controller_.frame_ != nullptr && device_display_colormask() != 0)
    controller_.frame_->SetColorFlag(true);
}

void SecondaryViewCommands::MenuAction(const std::shared_ptr<PopupMenuItemData>& entry) {
  if (!entry)
    return;
  if (entry->action >= kBookActionsFirst && entry->action <= kBookActionsLast)
    controller_.book_menus_.BookMenuAction(entry);
  else if (entry->action >= kAppActionsFirst && entry->action <= kAppActionsLast)
    controller_.AppMenuAction(entry);
}

void SecondaryViewCommands::WiFiDialogOnCommand(MWCommand& command) {
  switch (command.id) {
    case CMD_WIFI_CONNECT:
      CloseWiFiDialog();
      NetConnect(nullptr);
      break;
    case CMD_CLOSE: CloseWiFiDialog(); break;
    default: MW_LOG(MW_LOG_WARNING, "Unhandled command %d", command.id); break;
  }
}

void SecondaryViewCommands::CloseWiFiDialog() {
  if (HomeFrame* frame = controller_.frame_)
    frame->WiFiDialog().Hide();
  controller_.OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
}

}  // namespace marrowleaf::desktop
