#include "controllers/MainFrame.h"

#include "controllers/Controller.h"
#include "platform/sdk/events.h"
#include "platform/sdk/screen.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kFrameStyle = 1;
constexpr int kFrameStyleExtra = 0x1000;

}  // namespace

MainFrame::MainFrame(int argc, char** argv) : MWAppFrame(argc, argv) {}

int MainFrame::CreateFrameWindow() {
  const int result = Create(0, 0, ScreenWidth(), ScreenHeight() - PanelHeight(), kFrameStyle);
  ChangeWindowStyle(kFrameStyleExtra, 0);
  return result;
}

std::shared_ptr<MenuScreen> MainFrame::GetPopupMenu(int level) {
  if (level < 0) return nullptr;
  while (popup_menus_.size() <= static_cast<size_t>(level)) {
    popup_menus_.push_back(std::make_shared<WindowlessScreen>());
  }
  return popup_menus_[static_cast<size_t>(level)];
}

int MainFrame::OnCommand(MWCommand& command) { return Controller::Instance().OnCommand(command); }

int MainFrame::SendToController(int id, int param, int param2) {
  MWCommand command(id, param, param2);
  return Controller::Instance().OnCommand(command);
}

int MainFrame::onStorageCardChanged(int inserted) {
  SendToController(CMD_SYSTEM_EVENT, inserted ? EVT_SD_IN : EVT_SD_OUT, inserted);
  return 1;
}

int MainFrame::onUsbStorageChanged() {
  SendToController(CMD_SYSTEM_EVENT, EVT_USB_IN);
  return 1;
}

int MainFrame::onConfigChanged() {
  SendToController(CMD_SYSTEM_EVENT, EVT_CONFIGCHANGED);
  return 1;
}

int MainFrame::onHomeRequest() {
  SendToController(CMD_HOME);
  return 1;
}

int MainFrame::onShow() {
  SendToController(CMD_SYSTEM_EVENT, EVT_SHOW);
  return 1;
}

int MainFrame::onStart() {
  SendToController(CMD_INIT);
  return 0;
}

int MainFrame::onExit() {
  SendToController(CMD_EXIT);
  return 1;
}

int MainFrame::onSuspend() { return 0; }

int MainFrame::onForeground() {
  SendToController(CMD_SYSTEM_EVENT, EVT_FOREGROUND);
  return 1;
}

int MainFrame::onBackground() {
  SendToController(CMD_SYSTEM_EVENT, EVT_BACKGROUND);
  return 1;
}

int MainFrame::onRestart() {
  SendToController(CMD_RESTART);
  return 1;
}

int MainFrame::onUserEvent(int first, int second) {
  SendToController(CMD_USER_EVENT, first, second);
  return 1;
}

int MainFrame::onLibraryChanged() {
  SendToController(CMD_SYSTEM_EVENT, EVT_LIBRARY_CHANGED);
  return 1;
}

}  // namespace marrowleaf::desktop
