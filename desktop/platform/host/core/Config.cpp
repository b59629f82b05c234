// The configuration functions of the SDK over DeviceConfig handles. Every function takes a null
// handle or key quietly, because callers skip their step when a file can't be opened.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "DeviceConfig.h"
#include "platform/sdk/config.h"
#include "platform/sdk/files.h"

namespace {

bool Usable(DeviceConfig* config, const char* key) {
  return config != nullptr && key != nullptr;
}

// The global configuration is opened once per device root. Handles of an earlier root are kept,
// never freed, since callers may hold the pointer for the life of the process.
struct GlobalConfigCache {
  std::mutex mutex;
  std::string root;
  DeviceConfig* config = nullptr;
  std::vector<std::unique_ptr<DeviceConfig>> retired;
};

GlobalConfigCache& Cache() {
  static GlobalConfigCache* cache = new GlobalConfigCache();
  return *cache;
}

}  // namespace

DeviceConfig* OpenConfig(const char* path, const ConfigDefault* defaults) {
  if (path == nullptr || *path == '\0')
    return nullptr;
  return DeviceConfig::Open(path, defaults);
}

const char* ReadString(DeviceConfig* config, const char* key, const char* default_value) {
  return Usable(config, key) ? config->ReadString(key, default_value) : default_value;
}

int ReadInt(DeviceConfig* config, const char* key, int default_value) {
  return Usable(config, key) ? config->ReadInt(key, default_value) : default_value;
}

long long ReadLongLong(DeviceConfig* config, const char* key, long long default_value) {
  return Usable(config, key) ? config->ReadLongLong(key, default_value) : default_value;
}

void WriteString(DeviceConfig* config, const char* key, const char* value) {
  if (Usable(config, key))
    config->Write(key, value ? value : "");
}

void WriteInt(DeviceConfig* config, const char* key, int value) {
  if (Usable(config, key))
    config->Write(key, std::to_string(value));
}

void WriteLongLong(DeviceConfig* config, const char* key, long long value) {
  if (Usable(config, key))
    config->Write(key, std::to_string(value));
}

void DeleteConfigKey(DeviceConfig* config, const char* key) {
  if (Usable(config, key))
    config->Delete(key);
}

int SaveConfig(DeviceConfig* config) {
  return config ? config->Save() : -1;
}

void CloseConfig(DeviceConfig* config) {
  if (config == nullptr)
    return;
  config->Save();
  CloseConfigNoSave(config);
}

void CloseConfigNoSave(DeviceConfig* config) {
  if (config != nullptr && !config->Shared())
    delete config;
}

DeviceConfig* GetGlobalConfig() {
  GlobalConfigCache& cache = Cache();
  std::lock_guard<std::mutex> lock(cache.mutex);
  if (cache.config != nullptr && cache.root == DeviceRoot())
    return cache.config;
  if (cache.config != nullptr)
    cache.retired.emplace_back(cache.config);
  cache.root = DeviceRoot();
  cache.config = OpenConfig(DeviceConfig::kGlobalConfigPath, nullptr);
  if (cache.config != nullptr)
    cache.config->MarkShared();
  return cache.config;
}
