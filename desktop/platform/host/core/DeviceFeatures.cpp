// The device features of device_features.h, answered from the simulator's device profile and the
// state all tasks share.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "DeviceProfile.h"
#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "platform/sdk/device_features.h"
#include "platform/sdk/screen.h"

using marrowleaf::platform::DeviceProfile;

namespace {

// The switch a current model has set when its profile says nothing: the cloud services.
constexpr int kCloudServicesFlag = 1;

}  // namespace

int device_touchpanel() {
  return _device_touchpanel();
}

int getDeviceConfigFlag(int flag) {
  const std::string key = "config_flag_" + std::to_string(flag);
  if (DeviceProfile::Get().String(key).empty())
    return flag == kCloudServicesFlag ? 1 : 0;
  return DeviceProfile::Get().Int(key) != 0 ? 1 : 0;
}

int device_model_id() {
  return DeviceProfile::Get().Int("device_id");
}

int accessibilityFocusEnable() {
  const DeviceSharedState* state = GetDeviceSharedState();
  return state != nullptr && state->screen_reader != 0 ? 1 : 0;
}

namespace {

int GlobalInt(const char* key, int default_value) {
  DeviceConfig* config = GetGlobalConfig();
  return config != nullptr ? ReadInt(config, key, default_value) : default_value;
}

}  // namespace

int pk_text_dyslexic_font_enabled() {
  return GlobalInt("text_dyslexic_font", 0) != 0 ? 1 : 0;
}

int pk_text_scale_percentage() {
  constexpr int kSmallest = 50;
  constexpr int kLargest = 300;
  return std::clamp(GlobalInt("text_scale", 100), kSmallest, kLargest);
}

int get_screen_dpi() {
  return ScreenDpi();
}

double get_screen_scale_factor() {
  const std::string text = DeviceProfile::Get().String("scale_factor");
  char* end = nullptr;
  const double factor = text.empty() ? 1.0 : std::strtod(text.c_str(), &end);
  // A profile with a broken value keeps the layouts at their designed size.
  return factor > 0.25 && factor < 4.0 ? factor : 1.0;
}

int IsScreenInverted() {
  return GlobalInt("screen_inverted", 0) != 0 ? 1 : 0;
}
