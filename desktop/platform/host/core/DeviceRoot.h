#pragma once

#include <string>

namespace marrowleaf::platform {

// Maps the device's absolute paths onto a folder of the host. The folder is read from
// MARROWLEAF_ROOT once (Reload reads it again); "" or "/" means the host is the device.
class DeviceRoot {
 public:
  static DeviceRoot& Get();

  const std::string& Root() const { return root_; }
  std::string ToHost(const std::string& device_path) const;
  std::string ToDevice(const std::string& host_path) const;
  void Reload();

 private:
  DeviceRoot();
  std::string root_;
};

}  // namespace marrowleaf::platform
