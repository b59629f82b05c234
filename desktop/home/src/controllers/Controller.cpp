#include "controllers/Controller.h"

#include <cstdlib>

#include "controllers/MainFrame.h"
#include "controllers/StoreActions.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"
#include "platform/sdk/log.h"
#include "platform/sdk/screen.h"
#include "platform/sdk/tasks.h"
#include "platform/sdk/timers.h"
#include "system_init/SelfCheck.h"
#include "views/popup_menu/PopupMenuItemData.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kCoverRedrawMs = 300;
constexpr int kWiFiCheckDelayMs = 1500;
constexpr int kServicesReadyIpc = 0x600;
constexpr int kPanelHalfTransparent = 50;
constexpr const char* kBookshelfPath = "/ebrmain/bin/bookshelf.app";


bool ForeignTaskInFront() {
  const DeviceSharedState* shared = GetDeviceSharedState();
  return shared != nullptr && shared->foreign_task_in_front != 0;
}

bool IsStorageEvent(int event) {
  return event == EVT_FOREGROUND || (event >= EVT_SD_IN && event <= EVT_USB_OUT);
}

}  // namespace

Controller& Controller::Instance() {
  // Never destroyed: windows and timers may still call into it while the process ends.
  static Controller* instance = new Controller();
  return *instance;
}

Controller::Controller() : menu_items_(std::make_shared<PopupMenuItemDataList>()) {}

int Controller::Run(int argc, char** argv) {
  owned_frame_ = std::make_unique<MainFrame>(argc, argv);
  frame_ = owned_frame_.get();
  const int result = frame_->CreateFrameWindow();
  if (result != 0) {
    MW_LOG(MW_LOG_ERROR, " err:[%d] ", result);
    return result;
  }
  if (device_display_colormask() != 0) frame_->SetColorFlag(true);
  frame_->RunLoop();
  return 0;
}

int Controller::OnCommand(MWCommand& command) {
  if (CommonOnCommand(command) == 1) return 1;
  switch (state_) {
    case STATE_MAIN_WINDOW: MainWindowOnCommand(command); return 0;
    case STATE_ADD_BOOKS_VIEW: AddBooksViewOnCommand(command); return 0;
    case STATE_POPUP_MENU: PopupMenuOnCommand(command); return 0;
    case STATE_APP_LIST: AppListOnCommand(command); return 0;
    case STATE_WIFI_DIALOG: WiFiDialogOnCommand(command); return 0;
  }
  MW_LOG(MW_LOG_WARNING, "No command handlers for state %d. Unhandled command %d", state_,
         command.id);
  return 0;
}

int Controller::CommonOnCommand(MWCommand& command) {
  switch (command.id) {
    case CMD_EXIT:
    case CMD_CLOSE_APP:
      SaveCaches();
      CloseApp();
      return 1;
    case CMD_RESTART:
    case CMD_REBUILD:
      SaveCaches();
      Restart();
      return 1;
    case CMD_USER_EVENT: OnUserEvent(command); return 1;
    case CMD_SYSTEM_EVENT: OnSystemEvent(command.param); return 1;
    case CMD_CONFIRM_DELETE: book_menus_.ConfirmDelete(command.param); return 1;
    case CMD_CONFIRM_CLOUD_DELETE: book_menus_.ConfirmCloudDelete(command.param); return 1;
    case CMD_HOME: OnHome(); return 1;
    case CMD_OPEN_CONTROL_PANEL: OpenControlPanel(); return 1;
    default: return 0;
  }
}

void Controller::SaveCaches() {
  if (parts_.data) parts_.data->SaveToCache();
  if (parts_.covers) parts_.covers->SaveCache();
}

void Controller::Restart() {
  ExecProgram(kBookshelfPath);
  std::exit(0);
}

void Controller::OnUserEvent(const MWCommand& command) {
  if (command.param == kCoverReadyNotification) {
    if (parts_.covers) parts_.covers->OnCoverReady();
    SetHardTimerEx("cover_redraw_timer", &Controller::CoverRedrawTimer, this, kCoverRedrawMs);
  } else if (command.param == kDataManagerNotification) {
    OnDataNotification(command.param2);
  } else if (command.param == BookMenus::kCloudDeleterEnded) {
    book_menus_.OnCloudDeleterEnded(command.param2);
  }
}

void Controller::OnDataNotification(int kind) {
  if (parts_.data == nullptr) return;
  switch (kind) {
    case 1:
      if (parts_.data->applyBookItems()) Redraw();
      break;
    case 2:
      parts_.data->applyGroupBooks();
      Redraw();
      break;
    case 3: {
      int count = 0;
      DeviceSharedState* shared = GetDeviceSharedState();
      if (parts_.data->getNotViewedNotificationsCount(count) && shared &&
          shared->not_viewed_notifications != count) {
        shared->not_viewed_notifications = count;
        if (frame_) frame_->MarkFrameChanged();
      }
      break;
    }
    default: break;
  }
}

void Controller::Redraw() {
  if (frame_ == nullptr) return;
  if (frame_->AddBooksView().IsVisible()) {
    frame_->AddBooksView().MarkAsChanged();
  } else {
    frame_->MainView().Refresh();
  }
  frame_->MarkFrameChanged();
}

void Controller::CoverRedrawTimer(void* context) {
  auto* controller = static_cast<Controller*>(context);
  controller->Redraw();
  if (controller->frame_) controller->frame_->ReDrawFrame();
}

void Controller::CheckShowWiFiDialogTimer(void* context) {
  auto* controller = static_cast<Controller*>(context);
  if (ForeignTaskInFront()) return;
  if (controller->parts_.wifi) controller->parts_.wifi->CheckShowWiFiDialog();
  // A timer is no event: what it changed is drawn here.
  if (controller->frame_) controller->frame_->ReDrawFrame();
}

void Controller::OnSystemEvent(int event) {
  if (IsStorageEvent(event) && parts_.data) parts_.data->updateStorageIds();
  if (state_ == STATE_MAIN_WINDOW && event == EVT_FOREGROUND) {
    if (frame_) frame_->MainView().ResetToFirstPage();
  } else if (event == EVT_CONFIGCHANGED) {
    Redraw();
  }
  if (!first_system_event_seen_) {
    first_system_event_seen_ = true;
    if (GetCustomizedPartner() == 0 && event == EVT_FOREGROUND) {
      SetHardTimerEx("CheckShowWiFiDialog", &Controller::CheckShowWiFiDialogTimer, this,
                     kWiFiCheckDelayMs);
    }
  } else {
    OnLaterSystemEvent(event);
  }
  if (event == EVT_BACKGROUND && parts_.covers) parts_.covers->SaveCache();
}

void Controller::OnLaterSystemEvent(int event) {
  if (parts_.data && frame_) {
    parts_.data->requestBookItems(frame_->MainView().GetBookSlotCount());
    parts_.data->requestNotViewedNotificationsCount();
  }
  if (frame_) {
    MainScreen& main_view = frame_->MainView();
    const DeviceSharedState* shared = GetDeviceSharedState();
    if (GetCustomizedPartner() != 0) {
      main_view.UpdateStoreWidgetMode(false);
    } else if (event == EVT_BACKGROUND) {
      if (shared && shared->store_mode_locked) {
        main_view.UpdateStoreWidgetMode(false);
      } else {
        if (main_view.UpdateStoreWidgetMode(!skip_store_mode_once_)) {
          main_view.Refresh();
          frame_->MarkFrameChanged();
        }
        skip_store_mode_once_ = false;
      }
    } else if (event == EVT_FOREGROUND) {
      SetHardTimerEx("CheckShowWiFiDialog", &Controller::CheckShowWiFiDialogTimer, this,
                     kWiFiCheckDelayMs);
    } else {
      main_view.UpdateStoreWidgetMode(false);
    }
  }
  if (!services_ready_sent_) {
    services_ready_sent_ = true;
    pk_ipc_cmd(kServicesReadyIpc, 0);
    ResetSelfCheckCounter();
  }
}

void Controller::OnHome() {
  if (state_ == STATE_POPUP_MENU) {
    while (menu_depth_ >= 0) {
      HideState(STATE_POPUP_MENU);
      OpenState(menu_depth_ != -1 ? STATE_POPUP_MENU : STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
    }
    if (held_app_item_) {
      held_app_item_->SetHighlighted(false);
      held_app_item_ = nullptr;
    }
    if (parts_.apps) parts_.apps->RemoveNullApplications();
    // The menus drew the screen in greys; the home screen is in colour again.
    if (frame_ && device_display_colormask() != 0) frame_->SetColorFlag(true);
  }
  if (state_ == STATE_ADD_BOOKS_VIEW && frame_) {
    frame_->AddBooksView().Hide();
    frame_->MainView().Show();
    OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
  }
  if (state_ == STATE_APP_LIST && frame_) {
    frame_->ApplicationsView().Hide();
    OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
  }
  if (state_ == STATE_MAIN_WINDOW && frame_) frame_->MainView().ResetToFirstPage();
}

std::shared_ptr<PopupMenuItemDataList> Controller::OpenMenuList() const {
  std::shared_ptr<PopupMenuItemDataList> list = menu_items_;
  for (int index : submenu_path_) {
    auto entry = list ? list->GetItem(index) : nullptr;
    if (!entry || !entry->submenu) break;
    list = entry->submenu;
  }
  return list;
}

void Controller::OpenMenuLevel(StateOpeningType type) {
  SetPanelTransparent(kPanelHalfTransparent);
  if (type == STATE_OPEN_PUSH) ++menu_depth_;
  if (frame_ == nullptr) return;
  std::shared_ptr<MenuScreen> menu = frame_->GetPopupMenu(menu_depth_);
  if (!menu) return;
  menu->SetItems(OpenMenuList());
  if (type == STATE_OPEN_PUSH && menu_depth_ >= 1) {
    menu->SetParentMenu(frame_->GetPopupMenu(menu_depth_ - 1));
  }
  menu->Show();
  frame_->SetPointeredWindow(menu.get());
}

void Controller::OpenState(State state, StateOpeningType type) {
  if (type == STATE_OPEN_RETURN && !state_stack_.empty()) {
    state = state_stack_.back();
    state_stack_.pop_back();
  }
  switch (state) {
    case STATE_MAIN_WINDOW:
      if (frame_) {
        MainScreen& main_view = frame_->MainView();
        if (parts_.data) {
          parts_.data->requestBookItems(main_view.GetBookSlotCount());
          parts_.data->requestNotViewedNotificationsCount();
        }
        main_view.UpdateStoreWidgetMode(false);
        main_view.SetFocus();
        main_view.Refresh();
        main_view.Show();
      }
      break;
    case STATE_ADD_BOOKS_VIEW:
      if (frame_) {
        frame_->AddBooksView().Show();
        frame_->MainView().Hide();
      }
      break;
    case STATE_POPUP_MENU: OpenMenuLevel(type); break;
    case STATE_APP_LIST:
      if (frame_) frame_->ApplicationsView().Show();
      break;
    case STATE_WIFI_DIALOG:
      if (frame_) frame_->WiFiDialog().Show();
      break;
    default: MW_LOG(MW_LOG_WARNING, "Invalid state %d", state); return;
  }
  if (type == STATE_OPEN_PUSH) state_stack_.push_back(state_);
  state_ = state;
}

void Controller::HideState(State state) {
  switch (state) {
    case STATE_MAIN_WINDOW:
      if (frame_) frame_->MainView().Hide();
      break;
    case STATE_ADD_BOOKS_VIEW:
      if (frame_) {
        frame_->AddBooksView().Hide();
        frame_->MainView().Show();
      }
      break;
    case STATE_POPUP_MENU: {
      if (frame_ && menu_depth_ >= 0) {
        if (auto menu = frame_->GetPopupMenu(menu_depth_)) menu->Hide();
      }
      if (!submenu_path_.empty()) submenu_path_.pop_back();
      const int previous_depth = menu_depth_--;
      if (previous_depth == 0) SetPanelTransparent(0);
      break;
    }
    case STATE_APP_LIST:
      if (frame_) frame_->ApplicationsView().Hide();
      break;
    case STATE_WIFI_DIALOG:
      if (frame_) frame_->WiFiDialog().Hide();
      break;
    default: MW_LOG(MW_LOG_WARNING, "Invalid state %d", state); break;
  }
}

int Controller::MainWindowOnCommand(MWCommand& command) {
  switch (command.id) {
    case CMD_INIT:
      SetPanelSeparatorEnabled(0);
      app_json_manager_.CheckIntegrity();
      if (parts_.data) parts_.data->init();
      if (parts_.apps) parts_.apps->Load();
      OpenState(STATE_MAIN_WINDOW, STATE_OPEN_SWITCH);
      break;
    case CMD_OPEN_DETAILED_BOOK_ITEM:
      MW_LOG(MW_LOG_VERBOSE, "CMD_OPEN_DETAILED_BOOK_ITEM");
      if (parts_.data) main_commands_.OpenItem(parts_.data->getCurrentStoreBlock(), 0);
      break;
    case CMD_OPEN_BOOK_ITEM:
      MW_LOG(MW_LOG_VERBOSE, "CMD_OPEN_BOOK_ITEM [%d; %d]", command.param, command.param2);
      main_commands_.OpenItem(command.param, command.param2);
      break;
    case CMD_HOLD_BOOK_ITEM: HoldBookItem(command); break;
    case CMD_OPEN_PARTNER_ACCOUNTS: main_commands_.OpenPartnerAccounts(); break;
    case CMD_OPEN_APPLICATION: main_commands_.OpenShortcut(command.param); break;
    case CMD_HOLD_APPLICATION: main_commands_.HoldShortcut(command); break;
    case CMD_OPEN_STORE_BLOCK: main_commands_.OpenStoreBlock(); break;
    case CMD_SWIPE:
      MW_LOG(MW_LOG_VERBOSE, "SWIPE [%s%d]", command.param > 0 ? "+" : "-",
             command.param < 0 ? -command.param : command.param);
      break;
    case CMD_ACTIVATE_RECOMMENDATIONS: StoreActions::ActivateRecommendations(); break;
    default: MW_LOG(MW_LOG_WARNING, "Unhandled command %d", command.id); break;
  }
  return 0;
}

void Controller::BuildAppMenu(int slot) { app_menus_.BuildAppMenu(slot); }

void Controller::BuildAppListMenu(const std::string& id) { app_menus_.BuildAppListMenu(id); }

void Controller::AppMenuAction(const std::shared_ptr<PopupMenuItemData>& entry) {
  app_menus_.AppMenuAction(entry);
}

void Controller::OpenBookAction(const std::shared_ptr<Book>& book) { open_actions_.OpenBook(book); }

void Controller::OpenApplicationAction(const std::shared_ptr<AppData>& app) {
  open_actions_.OpenApplication(app);
}

void Controller::storeEmpikUsageStatisticsEvent(const std::shared_ptr<Book>& book,
                                                const std::string& event) {
  statistics_.StoreEvent(book, event);
}

// A tile's long press opens the menu of what it shows: a book added or opened, or a group.
void Controller::HoldBookItem(const MWCommand& command) {
  MW_LOG(MW_LOG_VERBOSE, "CMD_HOLD_BOOK_ITEM [%d; %d]", command.param, command.param2);
  const std::shared_ptr<Item> item =
      parts_.data ? parts_.data->getItem(command.param, command.param2) : nullptr;
  if (!item || (item->type_ != ITEM_ADDED && item->type_ != ITEM_OPENED &&
                item->type_ != ITEM_ADDED_GROUP))
    return;
  book_menus_.OpenBookMenu(item,
                           MWRect{command.x, command.y, command.width, command.height});
}

void Controller::BuildBookMenu(const std::shared_ptr<Item>& item) {
  book_menus_.BuildBookMenu(item);
}

void Controller::BookMenuAction(const std::shared_ptr<PopupMenuItemData>& entry) {
  book_menus_.BookMenuAction(entry);
}

void Controller::MenuAction(const std::shared_ptr<PopupMenuItemData>& entry) {
  secondary_commands_.MenuAction(entry);
}

bool Controller::OpenBuiltMenu(const MWRect& anchor) {
  menu_items_->anchor = anchor;
  if (menu_items_->IsEmpty()) return false;
  // The dimmed screen behind a menu is drawn in greys on a colour panel too.
  if (frame_ && device_display_colormask() != 0) frame_->SetColorFlag(false);
  OpenState(STATE_POPUP_MENU, STATE_OPEN_PUSH);
  return true;
}

void Controller::RequestBookItems() {
  if (parts_.data && frame_) parts_.data->requestBookItems(frame_->MainView().GetBookSlotCount());
}

int Controller::AddBooksViewOnCommand(MWCommand& command) {
  secondary_commands_.AddBooksViewOnCommand(command);
  return 0;
}

int Controller::PopupMenuOnCommand(MWCommand& command) {
  secondary_commands_.PopupMenuOnCommand(command);
  return 0;
}

int Controller::AppListOnCommand(MWCommand& command) {
  switch (command.id) {
    case CMD_OPEN_APPLICATION:
      if (parts_.apps) OpenApplicationAction(parts_.apps->GetAppData(command.text));
      if (frame_) frame_->ApplicationsView().Hide();
      OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
      break;
    case CMD_HOLD_APPLICATION: HoldListApplication(command); break;
    case CMD_CLOSE:
      if (frame_) frame_->ApplicationsView().Hide();
      OpenState(STATE_MAIN_WINDOW, STATE_OPEN_RETURN);
      if (device_display_colormask() == 0) MWGraphics::MarkFullUpdate();
      break;
    default: MW_LOG(MW_LOG_WARNING, "Unhandled command %d", command.id); break;
  }
  return 0;
}

// The held application stays highlighted on the panel while its menu is open over it.
void Controller::HoldListApplication(const MWCommand& command) {
  app_menus_.HoldAppItem(command.sender);
  if (held_app_item_ && frame_) {
    frame_->ApplicationsView().MarkAsChanged();
    frame_->ReDrawFrame();
    WaitForUpdateComplete();
  }
  app_menus_.BuildAppListMenu(command.text);
  if (!app_menus_.OpenAppMenu(command)) app_menus_.ReleaseHeldAppItem();
}

int Controller::WiFiDialogOnCommand(MWCommand& command) {
  secondary_commands_.WiFiDialogOnCommand(command);
  return 0;
}

}  // namespace marrowleaf::desktop
