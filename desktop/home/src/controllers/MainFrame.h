#pragma once

#include <memory>
#include <vector>

#include "controllers/HomeFrame.h"
#include "platform/mw/MWAppFrame.h"
#include "views/AddBooksView.h"
#include "views/ApplicationsView.h"
#include "views/MainView.h"
#include "views/WiFiDialog.h"
#include "views/popup_menu/PopupMenu.h"

namespace marrowleaf::desktop {

// The program's application frame: the top-level window and the receiver of the device's events.
// It owns the screens (their windows are made when first needed), makes the context-menu levels on
// demand, turns the device events that matter into commands for the controller, maps the menu key
// to the control panel, draws the panel once, performs the full-screen flash a boot start asks for
// and posts the note that new firmware was found.
class MainFrame : public MWAppFrame, public HomeFrame {
 public:
  MainFrame(int argc, char** argv);
  ~MainFrame() override;

  // HomeFrame
  MainScreen& MainView() override;
  AddBooksScreen& AddBooksView() override { return add_books_view_; }
  Screen& ApplicationsView() override { return applications_view_; }
  Screen& WiFiDialog() override { return wifi_dialog_; }
  std::shared_ptr<MenuScreen> GetPopupMenu(int level) override;
  void SetPointeredWindow(MenuScreen* menu) override;
  int CreateFrameWindow() override;
  int RunLoop() override { return Run(); }
  void MarkFrameChanged() override;
  void ReDrawFrame() override { ReDraw(); }
  void SetColorFlag(bool color) override { MWAppFrame::SetColorFlag(color); }

  // The main view's window, made on first use.
  class MainView& GetMainView();

  // MWAppFrame
  int MainHandler(int type, int par1, int par2) override;
  int OnCreate() override;
  int OnCommand(MWCommand& command) override;
  int OnFocusSet(MWWindow* from, int key) override;
  bool CustomDrawPanel() override;
  void CustomScreenUpdate() override;

  // Device events, each sent to the controller as a command.
  int onStorageCardChanged(int inserted) override;
  int onUsbStorageChanged() override;
  int onConfigChanged() override;
  int onHomeRequest() override;
  int onShow() override;
  int onStart() override;
  int onExit() override;
  int onSuspend() override;
  int onForeground() override;
  int onBackground() override;
  int onRestart() override;
  int onUserEvent(int first, int second) override;
  int onLibraryChanged() override;
  int onFirmwareFound() override;

 private:
  int SendToController(int id, int param = 0, int param2 = 0);
  bool OpensControlPanel(int type, int key, int count) const;
  void LeavePanel(int key);
  void FlashScreen();

  class MainView main_view_;
  std::vector<std::shared_ptr<PopupMenu>> popup_menus_;
  class AddBooksView add_books_view_;
  class ApplicationsView applications_view_;
  class WiFiDialog wifi_dialog_;
  bool key_pressed_on_panel_ = false;
};

}  // namespace marrowleaf::desktop
