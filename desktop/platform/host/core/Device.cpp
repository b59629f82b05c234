// The device facts and global switches of the SDK, answered from the simulator's device profile.
// Calls that would change the device's state outside this program are recorded in the journal.
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "DeviceProfile.h"
#include "FolderName.h"
#include "Journal.h"
#include "ScriptPlayer.h"
#include "SharedStateMapping.h"
#include "StringPool.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/device.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

using marrowleaf::platform::DeviceProfile;
using marrowleaf::platform::Journal;
using marrowleaf::platform::StringPool;

namespace {

constexpr const char* kProfilesFolder = "/mnt/ext1/system/profiles/";
constexpr size_t kMaxProfileName = 64;

int ProfileInt(const char* key) {
  return DeviceProfile::Get().Int(key);
}

const char* ProfileString(const char* key) {
  return StringPool::Intern(DeviceProfile::Get().String(key));
}

void JournalCall(const char* call, Json::Value fields = Json::Value(Json::objectValue)) {
  fields["call"] = call;
  Journal::Append("sdk", std::move(fields));
}

Json::Value Fields(const char* name, int value) {
  Json::Value fields(Json::objectValue);
  fields[name] = value;
  return fields;
}

bool ValidProfileName(const char* name) {
  return name != nullptr && marrowleaf::platform::FolderName::IsSafe(name, kMaxProfileName);
}

bool IsFolder(const std::string& device_path) {
  struct stat info {};
  return stat(HostPath(device_path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

void ReloadDeviceProfile() {
  DeviceProfile::Get().Reload();
}

void InitPagekit(int flags) {
  // A broken script is the simulator user's mistake, not the device's: the run stops here, before
  // the start-up upkeep has changed any file.
  std::string error;
  if (marrowleaf::platform::ScriptPlayer::FromEnvironment(&error) == nullptr && !error.empty()) {
    std::fprintf(stderr, "%s\n", error.c_str());
    std::exit(2);
  }
  JournalCall("InitPagekit", Fields("flags", flags));
}

void PkSetAppCapability(int capability) {
  JournalCall("PkSetAppCapability", Fields("capability", capability));
}

void pk_global_gesture_set_state(int gesture, int state) {
  Json::Value fields = Fields("gesture", gesture);
  fields["state"] = state;
  JournalCall("pk_global_gesture_set_state", std::move(fields));
}

void pk_global_gesture_set_action(int gesture, int action) {
  Json::Value fields = Fields("gesture", gesture);
  fields["action"] = action;
  JournalCall("pk_global_gesture_set_action", std::move(fields));
}

void OpenScreen() {
  JournalCall("OpenScreen");
}

void OpenControlPanel() {
  JournalCall("OpenControlPanel");
}

int device_display_colormask() {
  return ProfileInt("color") != 0 ? 1 : 0;
}
int _device_touchpanel() {
  return ProfileInt("touch") != 0 ? 1 : 0;
}
int _device_wifi() {
  return ProfileInt("wifi") != 0 ? 1 : 0;
}
int device_audio() {
  return ProfileInt("audio") != 0 ? 1 : 0;
}
int device_number() {
  return ProfileInt("device_number");
}
const char* device_ID() {
  return ProfileString("model");
}
const char* GetSerialNumber() {
  return ProfileString("serial");
}
long long hw_boottime_ms() {
  return marrowleaf::platform::CurrentClock().NowMs();
}

const char* GetSoftwareVersion() {
  return ProfileString("software_version");
}
int SafeMode() {
  return ProfileInt("safe_mode");
}
int GetCustomizedPartner() {
  return ProfileInt("partner");
}
const char* GetCustomizedPartnerName() {
  return ProfileString("partner_name");
}

int IsFlightModeEnabled() {
  return ProfileInt("flight_mode") != 0 ? 1 : 0;
}

void SetFlightMode(int enabled) {
  enabled = enabled != 0 ? 1 : 0;
  DeviceProfile::Get().SetString("flight_mode", std::to_string(enabled));
  JournalCall("SetFlightMode", Fields("enabled", enabled));
}

int GetFrontlightState() {
  return ProfileInt("frontlight");
}

void SetFrontlightState(int percent) {
  percent = std::clamp(percent, 0, 100);
  DeviceProfile::Get().SetString("frontlight", std::to_string(percent));
  Journal::Append("frontlight", Fields("percent", percent));
}

int pk_switch_profile(const char* name) {
  Json::Value fields(Json::objectValue);
  fields["name"] = name ? name : "";
  bool switched = ValidProfileName(name) && IsFolder(std::string(kProfilesFolder) + name);
  if (switched)
    DeviceProfile::Get().SetString("profile", name);
  fields["result"] = switched ? 1 : 0;
  Journal::Append("profile", std::move(fields));
  if (!switched)
    MW_LOG(MW_LOG_WARNING, "Profile [%s] can't be switched to\n", name ? name : "");
  return switched ? 1 : 0;
}

int pk_check_profile() {
  const std::string name = DeviceProfile::Get().String("profile");
  if (name.empty())
    return 0;
  if (!ValidProfileName(name.c_str()))
    return -1;
  return pk_buildpath((std::string(kProfilesFolder) + name + "/").c_str());
}

const char* GetCurrentProfile() {
  return ProfileString("profile");
}

DeviceSharedState* GetDeviceSharedState() {
  return marrowleaf::platform::SharedStateMapping::Current();
}
