#include "DeviceProfile.h"

#include <map>
#include <mutex>

#include "KeyValueStore.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {

namespace {

constexpr const char* kProfilePath = "/.sim/device.cfg";
// The status panel takes this share of the screen height when the profile doesn't say.
constexpr int kPanelHeightPercent = 4;

// The default device: a 6" touch reader with a 1072x1448 screen. Never destroyed: worker threads
// ask for device facts (the colour panel) while the process ends.
const std::map<std::string, std::string>& Defaults() {
  static const auto* defaults = new std::map<std::string, std::string>{
      {"screen_width", "1072"},
      {"screen_height", "1448"},
      {"dpi", "300"},
      {"touch", "1"},
      {"color", "0"},
      {"wifi", "1"},
      {"audio", "1"},
      {"device_number", "629"},
      {"model", "ML629 Touch HD"},
      {"serial", "ML6290000000001"},
      {"partner", "0"},
      {"partner_name", ""},
      {"software_version", "U629.6.10.1234"},
      {"profile", ""},
      {"network", "1"},
      {"safe_mode", "0"},
      {"flight_mode", "0"},
      {"frontlight", "50"},
      {"storage_full", "0"},
  };
  return *defaults;
}

}  // namespace

struct DeviceProfile::Impl {
  std::mutex mutex;
  bool loaded = false;
  std::string root;
  KeyValueStore store;
};

DeviceProfile& DeviceProfile::Get() {
  static DeviceProfile* instance = new DeviceProfile();
  return *instance;
}

DeviceProfile::DeviceProfile() : impl_(new Impl()) {}

void DeviceProfile::Load() const {
  impl_->root = DeviceRoot();
  impl_->loaded = true;
  impl_->store = KeyValueStore::ReadFile(kProfilePath);
  if (impl_->store.Damaged())
    MW_LOG(MW_LOG_WARNING, "Device profile is damaged\n");
}

void DeviceProfile::RefreshForRoot() const {
  if (!impl_->loaded || impl_->root != DeviceRoot())
    Load();
}

void DeviceProfile::Reload() {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  Load();
}

std::string DeviceProfile::Lookup(const std::string& key) const {
  RefreshForRoot();
  if (const std::string* value = impl_->store.Find(key))
    return *value;
  auto found = Defaults().find(key);
  return found == Defaults().end() ? "" : found->second;
}

std::string DeviceProfile::String(const std::string& key) const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  return Lookup(key);
}

int DeviceProfile::Int(const std::string& key) const {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  int value = 0;
  if (KeyValueStore::ParseInt(Lookup(key), &value))
    return value;
  if (key == "panel_height") {
    KeyValueStore::ParseInt(Lookup("screen_height"), &value);
    return value * kPanelHeightPercent / 100;
  }
  auto found = Defaults().find(key);
  value = 0;
  if (found != Defaults().end())
    KeyValueStore::ParseInt(found->second, &value);
  return value;
}

void DeviceProfile::SetString(const std::string& key, const std::string& value) {
  std::lock_guard<std::mutex> lock(impl_->mutex);
  RefreshForRoot();
  if (!impl_->store.Set(key, value)) {
    MW_LOG(MW_LOG_WARNING, "Device profile: [%s] can't be stored\n", key.c_str());
    return;
  }
  pk_buildpath(kProfilePath);
  if (WriteFileAtomically(kProfilePath, impl_->store.Serialise()) != 0) {
    MW_LOG(MW_LOG_ERROR, "Device profile can't be written\n");
  }
}

}  // namespace marrowleaf::platform
