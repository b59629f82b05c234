#pragma once

#include <string>

struct DeviceConfig;

namespace marrowleaf::utilities {

// Read access to one key-value file of the device (syntax in platform/sdk/config.h). A file that
// can't be opened reads as empty.
class CfgWrapper {
 public:
  explicit CfgWrapper(const std::string& device_path);
  ~CfgWrapper();
  CfgWrapper(const CfgWrapper&) = delete;
  CfgWrapper& operator=(const CfgWrapper&) = delete;

  bool isOpen() const { return config_ != nullptr; }
  // The value of key, or default_value when the key is missing.
  std::string read(const std::string& key, const std::string& default_value = "") const;
  int readInt(const std::string& key, int default_value) const;
  // True with the value when the key is present (also when its value is empty).
  bool readIfExists(const std::string& key, std::string* value) const;

 private:
  DeviceConfig* config_;
};

}  // namespace marrowleaf::utilities
