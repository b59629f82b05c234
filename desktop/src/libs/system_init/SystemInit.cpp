#include "system_init/SystemInit.h"

#include <unistd.h>

#include <string>

#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/files.h"
#include "platform/sdk/screen.h"
#include "platform/sdk/theme.h"
#include "system_init/DefaultDirectories.h"
#include "system_init/FirstRunSteps.h"
#include "system_init/InterruptedSaves.h"
#include "system_init/OtaCleanup.h"
#include "system_init/SelfCheck.h"
#include "system_init/StartupSwitches.h"
#include "system_init/StateFiles.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kGlobalConfigPath = "/mnt/ext1/system/config/global.cfg";
constexpr const char* kUpdateRequestPath = "/tmp/desktop_update.cfg";
constexpr const char* kRuntimeConfigPath = "/var/run/runtime.cfg";
constexpr const char* kCurrentBookPath = "/tmp/.current";

// Applications and settings that need a network; a device without Wi-Fi must not offer them.
constexpr const char* kNetworkFiles[] = {
    "/mnt/ext1/applications/BookStore.app",  "/mnt/ext1/applications/marrownews.app",
    "/mnt/ext1/applications/webbrowser.app", "/mnt/ext1/applications/sync.app",
    "/mnt/ext1/system/bookstore.cfg",        "/mnt/ext1/applications/UlvaneSync.app",
};

void SwitchProfile(const std::string& name) {
  if (pk_switch_profile(name.c_str()) != 0)
    return;
  OpenScreen();
  Message(ICON_WARNING, "@Warning", "@err_change_profile", 10000);
}

// The screen reader is a device-wide switch that the other tasks read from the shared state.
void PublishScreenReaderFlag() {
  DeviceSharedState* shared = GetDeviceSharedState();
  if (shared == nullptr)
    return;
  DeviceConfig* config = OpenConfig(kGlobalConfigPath, nullptr);
  if (config == nullptr)
    return;
  shared->screen_reader = ReadInt(config, "screen_reader_enabled", 0) != 0 ? 1 : 0;
  CloseConfigNoSave(config);
}

void RemoveNetworkApplications() {
  if (_device_wifi() != 0)
    return;
  for (const char* path : kNetworkFiles) pk_unlink(path);
}

// Asks the home screen for a full redraw once it runs, unless a request is already waiting.
void RequestScreenUpdate() {
  if (pk_access(kUpdateRequestPath, F_OK) == 0)
    return;
  DeviceConfig* config = OpenConfig(kUpdateRequestPath, nullptr);
  if (config == nullptr)
    return;
  WriteInt(config, "update", 1);
  CloseConfig(config);
}

// Other programs learn the current theme from the runtime configuration.
void RecordTheme() {
  DeviceConfig* config = OpenConfig(kRuntimeConfigPath, nullptr);
  if (config == nullptr)
    return;
  WriteString(config, "theme.name", GetThemeString("theme.name", "Contrast"));
  CloseConfig(config);
}

void RunNormalStart(const StartupSwitches& switches) {
  RemoveInterruptedSaves();
  ClearFinishedOtaUpdate();
  if (SafeMode() != 0)
    Message(ICON_WARNING, "@Warning", "@Safe_mode", 30000);
  if (switches.boot_start()) {
    // The first restore emptied the saved file; this one only makes sure it is gone and synced.
    RestoreStateFiles();
    RequestScreenUpdate();
  }
  RestoreStartupLogo();
  if (!switches.boot_start() || switches.drop_current_book())
    pk_unlink(kCurrentBookPath);
}

}  // namespace

int system_init(int argc, const char* const* argv) {
  RunSelfCheck();
  const StartupSwitches switches = StartupSwitches::Parse(argc, argv, CreateDefaultDirectories);
  const auto& profile = switches.profile_name();
  if (profile)
    SwitchProfile(*profile);
  pk_check_profile();
  if (switches.boot_start() || profile) {
    RestoreStateFiles();
    PublishScreenReaderFlag();
  }
  if (!switches.maintenance_run() && !profile)
    RunFirstRunSteps();
  OpenScreen();
  RemoveNetworkApplications();
  int result = 0;
  if (switches.maintenance_run()) {
    DisableExitHourglass();
    SaveStateFiles();
    result = -1;
  } else {
    RunNormalStart(switches);
  }
  RecordTheme();
  return result;
}

}  // namespace marrowleaf::desktop
