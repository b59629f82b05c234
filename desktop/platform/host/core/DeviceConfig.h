#pragma once

#include <mutex>
#include <string>
#include <unordered_map>

#include "KeyValueStore.h"
#include "platform/sdk/config.h"

// The handle behind the configuration functions of platform/sdk/config.h: one key-value file, its
// defaults and whether it changed since it was read or saved. A mutex makes one handle safe to
// share between threads; the texts it hands out stay valid as config.h promises.
struct DeviceConfig {
 public:
  static constexpr const char* kGlobalConfigPath = "/mnt/ext1/system/config/global.cfg";

  // nullptr when the file can't be read or its folder is missing (a missing file opens empty).
  static DeviceConfig* Open(const std::string& device_path, const ConfigDefault* defaults);
  // One value of a file read afresh, for settings other programs may have changed; default_value
  // when the file or the key is missing.
  static std::string ReadOnce(const std::string& device_path, const std::string& key,
                              const std::string& default_value);

  const char* ReadString(const std::string& key, const char* default_value);
  long long ReadLongLong(const std::string& key, long long default_value);
  int ReadInt(const std::string& key, int default_value);
  void Write(const std::string& key, const std::string& value);
  void Delete(const std::string& key);
  // 0 when saved or unchanged, -1 when the file can't be written.
  int Save();

  const std::string& Path() const { return path_; }
  // A shared handle (the global configuration) outlives every Close call made on it.
  bool Shared() const { return shared_; }
  void MarkShared() { shared_ = true; }

 private:
  DeviceConfig(std::string device_path, marrowleaf::platform::KeyValueStore store,
               const ConfigDefault* defaults);
  // The file's value, else the default; nullptr when neither exists. Called with the mutex held.
  const std::string* Lookup(const std::string& key) const;

  std::mutex mutex_;
  std::string path_;
  marrowleaf::platform::KeyValueStore store_;
  std::unordered_map<std::string, std::string> defaults_;
  bool changed_ = false;
  bool shared_ = false;
};
