#include "Theme.h"

#include "DeviceConfig.h"
#include "FolderName.h"
#include "StringPool.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/sdk/theme.h"

namespace marrowleaf::platform {

namespace {

constexpr size_t kMaxThemeName = 64;

}  // namespace

Theme& Theme::Get() {
  static Theme* instance = new Theme();
  return *instance;
}

void Theme::Load() {
  loaded_ = true;
  root_ = DeviceRoot();
  name_ = DeviceConfig::ReadOnce(DeviceConfig::kGlobalConfigPath, "theme", kDefaultName);
  if (!FolderName::IsSafe(name_, kMaxThemeName)) {
    MW_LOG(MW_LOG_WARNING, "Theme name [%s] is not valid\n", name_.c_str());
    name_ = kDefaultName;
  }
  values_ = KeyValueStore::ReadFile("/ebrmain/themes/" + name_ + "/theme.cfg");
}

void Theme::RefreshForRoot() {
  if (!loaded_ || root_ != DeviceRoot())
    Load();
}

bool Theme::Find(const std::string& key, std::string* value) {
  std::lock_guard<std::mutex> lock(mutex_);
  RefreshForRoot();
  const std::string* found = values_.Find(key);
  if (found == nullptr)
    return false;
  *value = *found;
  return true;
}

std::string Theme::Name() {
  std::lock_guard<std::mutex> lock(mutex_);
  RefreshForRoot();
  return name_;
}

void Theme::Reload() {
  std::lock_guard<std::mutex> lock(mutex_);
  Load();
}

}  // namespace marrowleaf::platform

using marrowleaf::platform::Theme;

const char* GetThemeString(const char* key, const char* default_value) {
  std::string value;
  if (key == nullptr || !Theme::Get().Find(key, &value))
    return default_value;
  return marrowleaf::platform::StringPool::Intern(value);
}

int GetThemeInt(const char* key, int default_value) {
  std::string text;
  int value = 0;
  if (key == nullptr || !Theme::Get().Find(key, &text))
    return default_value;
  return marrowleaf::platform::KeyValueStore::ParseInt(text, &value) ? value : default_value;
}

const char* CurrentThemeName() {
  return marrowleaf::platform::StringPool::Intern(Theme::Get().Name());
}

void ReloadTheme() {
  Theme::Get().Reload();
}
