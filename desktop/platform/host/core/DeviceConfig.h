#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "KeyValueStore.h"
#include "platform/sdk/config.h"

// The handle behind the configuration functions of platform/sdk/config.h: one key-value file as it
// was read, its defaults and the keys this handle set or deleted since it last saved. Other
// programs write the same files, so a save reads the file as it is now and changes only those keys
// in it. A mutex makes one handle safe to share between threads; the texts it hands out stay valid
// as config.h promises.
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
  // 0 when saved or unchanged, -1 when the file can't be read or written (the changes are kept).
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
  // Remembers a change for the next save; no value means the key is deleted.
  void Remember(const std::string& key, std::optional<std::string> value);
  // The file as it is now with this handle's changes on top, and whether that is what the file
  // holds already. False when the file can't be read whole.
  bool MergeWithFile(std::string* text, bool* unchanged) const;

  std::mutex mutex_;
  std::string path_;
  marrowleaf::platform::KeyValueStore store_;
  std::unordered_map<std::string, std::string> defaults_;
  // In the order they were made; one entry a key.
  std::vector<std::pair<std::string, std::optional<std::string>>> pending_;
  bool shared_ = false;
};
