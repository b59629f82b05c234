#include "controllers/WiFiPromptCheck.h"

#include "controllers/Controller.h"
#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "platform/sdk/files.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kSetUpMark = "/mnt/secure/download_device_param.cfg";
constexpr const char* kGlobalConfigPath = "/mnt/ext1/system/config/global.cfg";
constexpr const char* kLastPromptKey = "ask_connect_ts";

}  // namespace

void WiFiPromptCheck::CheckShowWiFiDialog() {
  // A device without Wi-Fi could not follow the prompt: its connect button would only fail.
  if (_device_wifi() == 0)
    return;
  if (pk_access(kSetUpMark, 0) == 0)
    return;
  if (controller_.CurrentState() != STATE_MAIN_WINDOW)
    return;
  if (ask_connect_ts_ == -1) {
    if (DeviceConfig* config = OpenConfig(kGlobalConfigPath, nullptr)) {
      ask_connect_ts_ = ReadLongLong(config, kLastPromptKey, 0);
      CloseConfigNoSave(config);
    }
  }
  const int64_t now = static_cast<int64_t>(Now());
  if (ask_connect_ts_ + kIntervalSeconds >= now)
    return;
  ask_connect_ts_ = now;
  if (DeviceConfig* config = OpenConfig(kGlobalConfigPath, nullptr)) {
    WriteLongLong(config, kLastPromptKey, now);
    CloseConfig(config);
  }
  controller_.OpenState(STATE_WIFI_DIALOG, STATE_OPEN_SWITCH);
}

}  // namespace marrowleaf::desktop
