#pragma once

#include <deque>
#include <memory>
#include <vector>

#include "controllers/AppMenus.h"
#include "controllers/BookMenus.h"
#include "controllers/ControllerTypes.h"
#include "controllers/CoverCache.h"
#include "controllers/HomeData.h"
#include "controllers/HomeFrame.h"
#include "controllers/Highlightable.h"
#include "controllers/MainWindowCommands.h"
#include "controllers/OpenActions.h"
#include "controllers/SecondaryViewCommands.h"
#include "controllers/UsageStatistics.h"
#include "controllers/UserAppList.h"
#include "controllers/WiFiPrompt.h"
#include "data/json_manager/AppJsonManager.h"
#include "platform/mw/MWCommand.h"
#include "platform/utils/LCPDRMHelper.h"
#include "views/popup_menu/PopupMenuItemData.h"
#include "views/popup_menu/PopupMenuItemDataList.h"

namespace marrowleaf::desktop {

// The program's state machine. It knows which screen is in front, remembers how to go back (a stack
// of states and the open context-menu levels) and receives every command: first a common handler
// takes what means the same in every state (exit, restart, system events, the worker threads'
// wake-ups, Home), then the handler of the current state takes the rest. Event-loop thread only.
class Controller {
 public:
  // The parts of the program the controller drives besides the frame. Each may be missing while
  // the program is being built up; the controller then skips what needs it.
  struct Parts {
    HomeData* data = nullptr;
    CoverCache* covers = nullptr;
    UserAppList* apps = nullptr;
    WiFiPrompt* wifi = nullptr;
  };

  static Controller& Instance();

  Controller();
  Controller(const Controller&) = delete;
  Controller& operator=(const Controller&) = delete;

  // Creates the main frame and its window and runs the event loop. 0, or the frame's error code.
  int Run(int argc, char** argv);
  // Uses a frame made elsewhere (tests, or a frame already created); the controller doesn't own it.
  void AttachFrame(HomeFrame* frame) { frame_ = frame; }
  void Connect(const Parts& parts) { parts_ = parts; }

  // 1 when the common handler took the command, else 0.
  int OnCommand(MWCommand& command);
  void OpenState(State state, StateOpeningType type);
  void HideState(State state);

  int MainWindowOnCommand(MWCommand& command);
  int AddBooksViewOnCommand(MWCommand& command);
  int PopupMenuOnCommand(MWCommand& command);
  int AppListOnCommand(MWCommand& command);
  int WiFiDialogOnCommand(MWCommand& command);

  // Opening one book or one application; shared by every screen that shows them.
  void OpenBookAction(const std::shared_ptr<Book>& book);
  void OpenApplicationAction(const std::shared_ptr<AppData>& app);
  // Fill menu_items_ with the context menu of a shortcut slot, or of an application of the
  // applications screen.
  void BuildAppMenu(int slot);
  void BuildAppListMenu(const std::string& id);
  // Carries out an entry of those menus (actions 2001 to 2005).
  void AppMenuAction(const std::shared_ptr<PopupMenuItemData>& entry);
  // Records a partner's usage event for the book (see UsageStatistics).
  void storeEmpikUsageStatisticsEvent(const std::shared_ptr<Book>& book, const std::string& event);
  // The book context menu: its entries for an item, and the chosen entry carried out.
  void BuildBookMenu(const std::shared_ptr<Item>& item);
  void BookMenuAction(const std::shared_ptr<PopupMenuItemData>& entry);
  // Carries out a chosen menu entry (a book's or an application's).
  void MenuAction(const std::shared_ptr<PopupMenuItemData>& entry);
  // Opens the menu just built next to its element (screen coordinates); false when it is empty.
  bool OpenBuiltMenu(const MWRect& anchor);

  State CurrentState() const { return state_; }
  const std::deque<State>& StateStack() const { return state_stack_; }
  int MenuDepth() const { return menu_depth_; }
  std::vector<int>& SubmenuPath() { return submenu_path_; }
  std::shared_ptr<PopupMenuItemDataList> MenuItems() const { return menu_items_; }
  void SetHeldAppItem(Highlightable* item) { held_app_item_ = item; }
  Highlightable* HeldAppItem() const { return held_app_item_; }
  int AppMenuSlot() const { return app_menu_slot_; }
  void SetAppMenuSlot(int slot) { app_menu_slot_ = slot; }
  bool SkipsStoreModeOnce() const { return skip_store_mode_once_; }
  HomeFrame* Frame() const { return frame_; }

  // The redraw after new data or covers: the add-books view when it is in front, else the main view.
  void Redraw();
  // Asks the data manager for the home screen's books again.
  void RequestBookItems();

 private:
  int CommonOnCommand(MWCommand& command);
  void OnUserEvent(const MWCommand& command);
  void OnDataNotification(int kind);
  void OnSystemEvent(int event);
  void OnLaterSystemEvent(int event);
  void OnHome();
  void SaveCaches();
  void Restart();
  std::shared_ptr<PopupMenuItemDataList> OpenMenuList() const;
  void OpenMenuLevel(StateOpeningType type);
  void HoldListApplication(const MWCommand& command);
  void HoldBookItem(const MWCommand& command);
  static void CoverRedrawTimer(void* context);
  static void CheckShowWiFiDialogTimer(void* context);

  HomeFrame* frame_ = nullptr;
  State state_ = STATE_MAIN_WINDOW;
  std::deque<State> state_stack_;
  int menu_depth_ = -1;
  std::vector<int> submenu_path_;
  std::shared_ptr<PopupMenuItemDataList> menu_items_;
  int app_menu_slot_ = -1;
  Highlightable* held_app_item_ = nullptr;
  std::shared_ptr<Item> menu_item_;
  std::shared_ptr<Item> pending_item_;
  AppJsonManager app_json_manager_;
  UsageStatistics statistics_;
  std::unique_ptr<utilities::LCPDRMHelper> lcp_helper_;
  // Groups of actions, kept apart so that each stays readable; they work on the state above.
  friend class AppMenus;
  friend class BookMenus;
  friend class MainWindowCommands;
  friend class SecondaryViewCommands;
  OpenActions open_actions_{*this};
  AppMenus app_menus_{*this};
  MainWindowCommands main_commands_{*this};
  BookMenus book_menus_{*this};
  SecondaryViewCommands secondary_commands_{*this};
  bool skip_store_mode_once_ = false;
  bool first_system_event_seen_ = false;
  bool services_ready_sent_ = false;
  Parts parts_;
  std::unique_ptr<HomeFrame> owned_frame_;
};

}  // namespace marrowleaf::desktop
