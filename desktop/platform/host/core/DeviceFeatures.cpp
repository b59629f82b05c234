// The device features of device_features.h, answered from the simulator's device profile and the
// state all tasks share.
#include <string>

#include "DeviceProfile.h"
#include "platform/sdk/device.h"
#include "platform/sdk/device_features.h"

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
