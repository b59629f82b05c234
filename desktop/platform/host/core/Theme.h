#pragma once

#include <mutex>
#include <string>

#include "KeyValueStore.h"

namespace marrowleaf::platform {

// The values of the current theme: the global configuration's "theme" key names a folder of
// "/ebrmain/themes/" whose "theme.cfg" holds them. Read on first use, again on Reload and whenever
// the device root changes.
class Theme {
 public:
  static constexpr const char* kDefaultName = "Contrast";

  static Theme& Get();
  // The value of key; false when the theme doesn't have it.
  bool Find(const std::string& key, std::string* value);
  std::string Name();
  void Reload();

 private:
  Theme() = default;
  void RefreshForRoot();
  void Load();

  std::mutex mutex_;
  bool loaded_ = false;
  std::string root_;
  std::string name_;
  KeyValueStore values_;
};

}  // namespace marrowleaf::platform
