#pragma once

#include <memory>
#include <vector>

#include "controllers/HomeFrame.h"
#include "controllers/WindowlessScreen.h"
#include "platform/mw/MWAppFrame.h"

namespace marrowleaf::desktop {

// The program's application frame: the top-level window and the receiver of the device's events.
// It owns the screens, creates the context-menu levels on demand and turns the device events that
// matter into commands for the controller.
class MainFrame : public MWAppFrame, public HomeFrame {
 public:
  MainFrame(int argc, char** argv);

  // HomeFrame
  MainScreen& MainView() override { return main_view_; }
  Screen& AddBooksView() override { return add_books_view_; }
  Screen& ApplicationsView() override { return applications_view_; }
  Screen& WiFiDialog() override { return wifi_dialog_; }
  std::shared_ptr<MenuScreen> GetPopupMenu(int level) override;
  void SetPointeredWindow(MenuScreen* menu) override { pointered_menu_ = menu; }
  int CreateFrameWindow() override;
  int RunLoop() override { return Run(); }
  void MarkFrameChanged() override { MarkAsChanged(); }
  void ReDrawFrame() override { ReDraw(); }
  void SetColorFlag(bool color) override { MWAppFrame::SetColorFlag(color); }

  // MWAppFrame
  int OnCommand(MWCommand& command) override;

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

 private:
  int SendToController(int id, int param = 0, int param2 = 0);

  WindowlessScreen main_view_;
  std::vector<std::shared_ptr<WindowlessScreen>> popup_menus_;
  WindowlessScreen add_books_view_;
  WindowlessScreen applications_view_;
  WindowlessScreen wifi_dialog_;
  MenuScreen* pointered_menu_ = nullptr;
};

}  // namespace marrowleaf::desktop
