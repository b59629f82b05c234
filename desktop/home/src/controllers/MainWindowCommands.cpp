#include "controllers/MainWindowCommands.h"

#include <string>

#include "controllers/Controller.h"
#include "controllers/StoreActions.h"
#include "controllers/TaskStarter.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/device.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/screen.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kLibraryPath = "/ebrmain/bin/explorer.app";
constexpr const char* kSettingsPath = "/ebrmain/bin/settings.app";
// The home screen's clean update settles before the applications screen is drawn over it.
constexpr int kScreenChangeSettleMs = 250;

}  // namespace

void MainWindowCommands::OpenItem(int block, int index) {
  HomeData* data = controller_.parts_.data;
  const std::shared_ptr<Item> item = data ? data->getItem(block, index) : nullptr;
  if (!item)
    return;
  switch (item->type_) {
    case ITEM_ADDED_GROUP:
      OpenGroup(item);
      break;
    case ITEM_ADDED:
    case ITEM_OPENED:
      if (!item->books_.empty())
        controller_.OpenBookAction(item->books_.front());
      break;
    case ITEM_MORE:
      TaskStarter::Start(kLibraryPath, {"-a"}, "@Library");
      break;
    case ITEM_STORE_BOOK:
    case ITEM_STORE_DETAILED:
    case ITEM_STORE_NEWS:
      OpenStoreItem(*item);
      break;
    default:
      break;
  }
}

// A group shows its books in the add-books grid; the rest of its books are asked for when the
// home screen's list carries only the first ones.
void MainWindowCommands::OpenGroup(const std::shared_ptr<Item>& group) {
  HomeFrame* frame = controller_.frame_;
  if (frame == nullptr)
    return;
  HomeData* data = controller_.parts_.data;
  if (data && static_cast<int>(group->books_.size()) < group->books_count_)
    data->requestBooksByTimestamp(group->timestamp_);
  frame->AddBooksView().SetItem(group);
  controller_.OpenState(STATE_ADD_BOOKS_VIEW, STATE_OPEN_PUSH);
}

void MainWindowCommands::OpenStoreItem(const Item& item) {
  if (item.books_.empty() || !item.books_.front())
    return;
  const Book& book = *item.books_.front();
  if (item.type_ == ITEM_STORE_NEWS) {
    if (StoreActions::OpenNews(book))
      controller_.skip_store_mode_once_ = true;
    return;
  }
  HomeData* data = controller_.parts_.data;
  const std::string promotion =
      data ? data->getStoreBlockName(data->getCurrentStoreBlock()) : std::string();
  if (StoreActions::OpenStoreBook(book, promotion))
    controller_.skip_store_mode_once_ = true;
}

void MainWindowCommands::OpenStoreBlock() {
  HomeData* data = controller_.parts_.data;
  if (data == nullptr)
    return;
  const int block = data->getCurrentStoreBlock();
  StoreActions::OpenStoreBlock(data->getStoreBlockName(block), data->getStoreBlockUrl(block));
}

void MainWindowCommands::OpenPartnerAccounts() {
  const char* page = GetCustomizedPartner() != 0 ? "-o accounts_partner" : "-o accounts";
  TaskStarter::OpenBook(kSettingsPath, GetLangText("@Settings"), page, 0);
}

void MainWindowCommands::OpenShortcut(int index) {
  UserAppList* apps = controller_.parts_.apps;
  const std::shared_ptr<AppData> app = apps ? apps->GetAppDataAt(index) : nullptr;
  if (!app)
    return;
  if (app->appId() == AppJsonManager::app_id_sys_apps_) {
    OpenApplicationsScreen();
  } else {
    controller_.OpenApplicationAction(app);
  }
}

// The home screen leaves the panel with a clean update before the applications screen is drawn,
// so that no ghost of the tiles stays under the list.
void MainWindowCommands::OpenApplicationsScreen() {
  HomeFrame* frame = controller_.frame_;
  if (frame == nullptr)
    return;
  frame->MainView().Hide();
  MWGraphics::MarkDirty(MWRect{}, MW_UPDATE_CLEAN);
  frame->ReDrawFrame();
  platform::SleepMs(kScreenChangeSettleMs);
  WaitForUpdateComplete();
  controller_.OpenState(STATE_APP_LIST, STATE_OPEN_PUSH);
}

// A long press on a shortcut, or on the empty place after the row (index -1 and the place as the
// second parameter): that place first gets an empty slot of its own.
void MainWindowCommands::HoldShortcut(const MWCommand& command) {
  UserAppList* apps = controller_.parts_.apps;
  HomeFrame* frame = controller_.frame_;
  if (apps == nullptr || frame == nullptr)
    return;
  AppMenus& menus = controller_.app_menus_;
  menus.HoldAppItem(command.sender);
  int slot = command.param;
  if (command.param < 0) {
    apps->InsertApplication(AppJsonManager::app_id_sys_null_, command.param2, true);
    slot = command.param2;
  }
  frame->MainView().Refresh();
  frame->ReDrawFrame();
  WaitForUpdateComplete();
  menus.BuildAppMenu(slot);
  if (menus.OpenAppMenu(command))
    return;
  menus.ReleaseHeldAppItem();
  frame->MainView().Refresh();
  frame->ReDrawFrame();
}

}  // namespace marrowleaf::desktop
