#pragma once

#include <string>

namespace marrowleaf::platform {

// Maps the device's absolute paths onto a folder of the host. The folder is read from
// MARROWLEAF_ROOT once (Reload reads it again); "" or "/" means the host is the device.
//
// A mapped path never leaves the root: ".." stops at the root as it stops at "/" on the device, and
// a path that is not absolute is refused (mapped to ""), since it would name whatever the working
// folder of the moment holds. Paths that are about to be deleted or replaced are checked once more
// with their symbolic links resolved, because a link inside the root may point out of it.
class DeviceRoot {
 public:
  static DeviceRoot& Get();

  const std::string& Root() const { return root_; }
  // The host path of a device path, or "" when the device path is refused.
  std::string ToHost(const std::string& device_path) const;
  // As ToHost, and "" as well when the folder that holds the path, links resolved, is outside the
  // root: for deleting, replacing and creating.
  std::string ToHostForChange(const std::string& device_path) const;
  std::string ToDevice(const std::string& host_path) const;
  // True when the folder holding device_path, links resolved, is device_folder or lies below it.
  bool ResolvesInside(const std::string& device_path, const std::string& device_folder) const;
  void Reload();

  // The absolute path with "." and empty names dropped and each ".." taking away the name before
  // it (none at "/"); a trailing slash is kept. "" for a path that is not absolute.
  static std::string Normalize(const std::string& device_path);

 private:
  DeviceRoot();
  std::string root_;
};

}  // namespace marrowleaf::platform
