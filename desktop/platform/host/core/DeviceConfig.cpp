#include "DeviceConfig.h"

#include <sys/stat.h>

#include <cerrno>
#include <memory>
#include <utility>

#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

using marrowleaf::platform::KeyValueStore;

namespace {

std::string ParentFolder(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsFolder(const std::string& host_path) {
  struct stat info {};
  return stat(host_path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

DeviceConfig::DeviceConfig(std::string device_path, KeyValueStore store,
                           const ConfigDefault* defaults)
    : path_(std::move(device_path)), store_(std::move(store)) {
  for (; defaults != nullptr && defaults->key != nullptr; ++defaults) {
    if (defaults->value != nullptr)
      defaults_.emplace(defaults->key, defaults->value);
  }
}

DeviceConfig* DeviceConfig::Open(const std::string& device_path, const ConfigDefault* defaults) {
  const std::string host_path = HostPath(device_path);
  struct stat info {};
  if (stat(host_path.c_str(), &info) != 0) {
    // A file that was never saved is normal: it opens empty and the first save creates it.
    if (errno != ENOENT || !IsFolder(ParentFolder(host_path))) {
      MW_LOG(MW_LOG_VERBOSE, "Config [%s]: no folder\n", device_path.c_str());
      return nullptr;
    }
    return new DeviceConfig(device_path, KeyValueStore(), defaults);
  }
  std::string text;
  bool truncated = false;
  if (!ReadFileCapped(device_path, KeyValueStore::kMaxFileBytes, &text, &truncated)) {
    MW_LOG(MW_LOG_WARNING, "Config [%s]: can't be read\n", device_path.c_str());
    return nullptr;
  }
  KeyValueStore store = KeyValueStore::Parse(text, truncated);
  if (store.Damaged()) {
    MW_LOG(MW_LOG_WARNING, "Config [%s]: damaged, %zu keys read\n", device_path.c_str(),
           store.Size());
  }
  return new DeviceConfig(device_path, std::move(store), defaults);
}

std::string DeviceConfig::ReadOnce(const std::string& device_path, const std::string& key,
                                   const std::string& default_value) {
  DeviceConfig* config = Open(device_path, nullptr);
  if (config == nullptr)
    return default_value;
  std::string value = config->ReadString(key, default_value.c_str());
  delete config;
  return value;
}

const std::string* DeviceConfig::Lookup(const std::string& key) const {
  if (const std::string* value = store_.Find(key))
    return value;
  auto found = defaults_.find(key);
  return found == defaults_.end() ? nullptr : &found->second;
}

const char* DeviceConfig::ReadString(const std::string& key, const char* default_value) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string* value = Lookup(key);
  return value ? value->c_str() : default_value;
}

long long DeviceConfig::ReadLongLong(const std::string& key, long long default_value) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string* text = Lookup(key);
  long long value = 0;
  return text && KeyValueStore::ParseLongLong(*text, &value) ? value : default_value;
}

int DeviceConfig::ReadInt(const std::string& key, int default_value) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string* text = Lookup(key);
  int value = 0;
  return text && KeyValueStore::ParseInt(*text, &value) ? value : default_value;
}

void DeviceConfig::Write(const std::string& key, const std::string& value) {
  std::lock_guard<std::mutex> lock(mutex_);
  const std::string* old = store_.Find(key);
  if (old != nullptr && *old == value)
    return;
  if (!store_.Set(key, value)) {
    MW_LOG(MW_LOG_WARNING, "Config [%s]: key [%s] or its value can't be stored\n", path_.c_str(),
           key.c_str());
    return;
  }
  Remember(key, value);
}

void DeviceConfig::Delete(const std::string& key) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (store_.Erase(key))
    Remember(key, std::nullopt);
}

void DeviceConfig::Remember(const std::string& key, std::optional<std::string> value) {
  for (auto& change : pending_) {
    if (change.first == key) {
      change.second = std::move(value);
      return;
    }
  }
  pending_.emplace_back(key, std::move(value));
}

bool DeviceConfig::MergeWithFile(std::string* text, bool* unchanged) const {
  std::string current;
  bool truncated = false;
  if (!ReadFileCapped(path_, KeyValueStore::kMaxFileBytes, &current, &truncated) && errno != ENOENT)
    return false;
  KeyValueStore file = KeyValueStore::Parse(current, truncated);
  // Saving a file cut at the cap would drop its tail.
  if (file.Truncated())
    return false;
  for (const auto& [key, value] : pending_) {
    if (value)
      file.Set(key, *value);
    else
      file.Erase(key);
  }
  *text = file.Serialise();
  *unchanged = *text == current;
  return true;
}

int DeviceConfig::Save() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (pending_.empty())
    return 0;
  std::string text;
  bool unchanged = false;
  if (!MergeWithFile(&text, &unchanged)) {
    MW_LOG(MW_LOG_ERROR, "Config [%s]: can't be read whole, not saved\n", path_.c_str());
    return -1;
  }
  // A longer file would be cut when read back, so it is refused whole.
  if (text.size() > KeyValueStore::kMaxFileBytes) {
    MW_LOG(MW_LOG_ERROR, "Config [%s]: %zu bytes is over the size cap\n", path_.c_str(),
           text.size());
    return -1;
  }
  // Nothing is written when the file already holds every change.
  if (!unchanged && WriteFileAtomically(path_, text) != 0) {
    MW_LOG(MW_LOG_ERROR, "Config [%s]: can't be written\n", path_.c_str());
    return -1;
  }
  pending_.clear();
  return 0;
}
