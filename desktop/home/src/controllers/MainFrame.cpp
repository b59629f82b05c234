#include "controllers/MainFrame.h"

#include <cstdio>
#include <set>
#include <string>

#include "controllers/Controller.h"
#include "controllers/StartupStages.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"
#include "platform/sdk/files.h"
#include "platform/sdk/screen.h"
#include "platform/sdk/tasks.h"
#include "platform/sdk/theme.h"
#include "platform/utils/Notifier.h"
#include "platform/utils/SmartBitmap.h"
#include "views/ViewClasses.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kFrameStyle = 1;
constexpr int kFrameStyleExtra = 0x1000;
constexpr int kMainViewStyle = 0x2001;
constexpr int kMenuStyle = 0x2000;
constexpr const char* kUpdateRequestPath = "/tmp/desktop_update.cfg";
constexpr const char* kGlobalConfigPath = "/mnt/ext1/system/config/global.cfg";
constexpr const char* kPinLock = "pin_lock.app";
constexpr int kFlashSettleMs = 125;
// The menu key's release opens the control panel unless the reader gave the key another action.
constexpr int kMenuKey = KEY_MENU;
constexpr const char* kMenuKeySetting = "gkey.23.0";

// Opened on first use and kept for the life of the process.
bool panel_drawn = false;
DeviceConfig* update_cfg = nullptr;

bool ForeignTaskInFront() {
  const DeviceSharedState* shared = GetDeviceSharedState();
  return shared != nullptr && shared->foreign_task_in_front != 0;
}

}  // namespace

MainFrame::MainFrame(int argc, char** argv) : MWAppFrame(argc, argv) {
  RegisterViewClasses();
}

MainFrame::~MainFrame() = default;

int MainFrame::CreateFrameWindow() {
  const int result = Create(0, 0, ScreenWidth(), ScreenHeight() - PanelHeight(), kFrameStyle);
  ChangeWindowStyle(kFrameStyleExtra, 0);
  return result;
}

int MainFrame::OnCreate() {
  const int type = GetThemeInt("e3.default.focus.border.renderer", 1);
  SetDefaultFocusedBorderRenderer(GetRendererByType(type));
  return 0;
}

class MainView& MainFrame::GetMainView() {
  if (!main_view_.IsCreated() && IsCreated()) {
    main_view_.Create(this, 0, 0, Width(), Height(), kMainViewStyle);
    StartupStages::Mark("layout loaded");
  }
  return main_view_;
}

MainScreen& MainFrame::MainView() {
  return GetMainView();
}

std::shared_ptr<MenuScreen> MainFrame::GetPopupMenu(int level) {
  if (level < 0)
    return nullptr;
  while (popup_menus_.size() <= static_cast<size_t>(level))
    popup_menus_.push_back(std::make_shared<PopupMenu>());
  const std::shared_ptr<PopupMenu>& menu = popup_menus_[static_cast<size_t>(level)];
  if (!menu->IsCreated()) {
    // Made hidden, the menu changes nothing on screen yet: the frame needs no drawing for it.
    const bool changed = IsChanged();
    menu->Create(this, 0, 0, Width(), Height(), kMenuStyle);
    if (!changed)
      ClearChanged();
  }
  return menu;
}

void MainFrame::SetPointeredWindow(MenuScreen* menu) {
  MWAppFrame::SetPointeredWindow(dynamic_cast<MWWindow*>(menu));
}

// Every event ends with a redraw pass over the windows that changed, so there is nothing to mark:
// repainting the whole frame would turn every small change into a whole-screen update.
void MainFrame::MarkFrameChanged() {}

int MainFrame::OnCommand(MWCommand& command) {
  return Controller::Instance().OnCommand(command);
}

int MainFrame::OnFocusSet(MWWindow* from, int key) {
  return GetMainView().OnFocusSet(from, key);
}

int MainFrame::SendToController(int id, int param, int param2) {
  MWCommand command(id, param, param2);
  return Controller::Instance().OnCommand(command);
}

bool MainFrame::OpensControlPanel(int type, int key, int count) const {
  if (type != EVT_KEYRELEASE || key != kMenuKey || count != 0)
    return false;
  DeviceConfig* config = GetGlobalConfig();
  if (config == nullptr)
    return false;
  static const std::set<std::string> other_actions = {"@KA_scrn", "@KA_mp3o", "@KA_mp3p",
                                                      "@KA_volp", "@KA_volm", "@KA_task",
                                                      "@KA_expl"};
  return other_actions.count(ReadString(config, kMenuKeySetting, "")) == 0;
}

// The panel gives the focus back with the key that left it: up lands on the shortcut row below
// the pages, down on the top of the current page.
void MainFrame::LeavePanel(int key) {
  SetFocusOnPanel(0);
  GetMainView().OnFocusSet(nullptr, key);
  MarkAsChanged();
  if (m_curFrame != nullptr)
    m_curFrame->ReDraw();
  SoftUpdate();
}

int MainFrame::MainHandler(int type, int par1, int par2) {
  if (OpensControlPanel(type, par1, par2)) {
    SendToController(CMD_OPEN_CONTROL_PANEL);
    return 1;
  }
  // The release of the key whose press moved the focus onto the panel belongs to that press: only
  // a key pressed while the panel already had the focus takes the focus back.
  if (type == EVT_KEYPRESS)
    key_pressed_on_panel_ = IsPanelFocused() != 0;
  if (IsPanelFocused() != 0 && type == EVT_KEYRELEASE && (par1 == KEY_UP || par1 == KEY_DOWN) &&
      key_pressed_on_panel_) {
    LeavePanel(par1);
    return 1;
  }
  return 0;
}

bool MainFrame::CustomDrawPanel() {
  if (panel_drawn)
    return false;
  DrawPanel(0, nullptr, nullptr, -1);
  const int height = PanelHeight();
  MWGraphics::MarkDirty(MWRect{0, ScreenHeight() - height, ScreenWidth(), height},
                        MW_UPDATE_CLEAN);
  panel_drawn = true;
  return true;
}

// The one full flash a boot start asks for ("update" = 1 in /tmp/desktop_update.cfg): it clears
// the ghosts of the start-up screens. It waits while another task is in front, and is dropped
// while the PIN lock is up.
void MainFrame::CustomScreenUpdate() {
  if (main_view_.IsCreated())
    StartupStages::Mark("first screen shown");
  if (update_cfg == nullptr) {
    if (pk_access(kUpdateRequestPath, 0) != 0)
      return;
    update_cfg = OpenConfig(kUpdateRequestPath, nullptr);
    if (update_cfg == nullptr)
      return;
  }
  const int requested = ReadInt(update_cfg, "update", 0);
  if (requested == 0)
    return;
  if (FindTaskByAppName(kPinLock) <= 0) {
    if (ForeignTaskInFront())
      return;
    FlashScreen();
  }
  WriteInt(update_cfg, "update", 0);
  SaveConfig(update_cfg);
}

void MainFrame::FlashScreen() {
  std::fprintf(stderr, "-> upd_t [%d]\n", MWGraphics::CurrentUpdateType());
  const int width = ScreenWidth();
  const int height = ScreenHeight();
  SmartBitmap screen = SmartBitmap::FromScreen(0, 0, width, height);
  ClearScreen();
  SoftUpdate();
  WaitForUpdateComplete();
  FullUpdate();
  WaitForUpdateComplete();
  platform::SleepMs(kFlashSettleMs);
  {
    MWGraphics graphics(MWRect{0, 0, width, height});
    graphics.DrawBitmap(0, 0, screen);
  }
  // The picture is back in the framebuffer; the panel must show it too, or the flash would leave
  // the screen white until something else changes.
  SoftUpdate();
}

int MainFrame::onStorageCardChanged(int inserted) {
  SendToController(CMD_SYSTEM_EVENT, inserted != 0 ? EVT_SD_IN : EVT_SD_OUT, inserted);
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

int MainFrame::onSuspend() {
  return 0;
}

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

// New firmware was downloaded: a note in the notification centre, and the panel is told once.
int MainFrame::onFirmwareFound() {
  utilities::Notifier* notifier = utilities::Notifier::GetInstance();
  if (notifier == nullptr)
    return 1;
  utilities::Notifier::Notification note;
  note.id = 10;
  note.title = "@NewSoftwareUpdateFound";
  note.action = "/ebrmain/bin/checkupdate-launcher";
  note.source = "@SoftwareNotification";
  note.kind = 7;
  if (!notifier->IsAvailable(note))
    notifier->Add(note);
  DeviceConfig* config = OpenConfig(kGlobalConfigPath, nullptr);
  if (config == nullptr)
    return 1;
  const int announced = ReadInt(config, "new_firmware", 0);
  WriteInt(config, "new_firmware", 1);
  CloseConfig(config);
  if (announced == 0)
    SendEvent(GetEventHandler(), EVT_NEWFIRMWARE_ANNOUNCED, 0, 0);
  return 1;
}

}  // namespace marrowleaf::desktop
