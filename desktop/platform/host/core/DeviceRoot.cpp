#include "DeviceRoot.h"

#include <cstdlib>

#include "platform/sdk/files.h"

namespace marrowleaf::platform {

DeviceRoot& DeviceRoot::Get() {
  // Never destroyed: threads that outlive main (task reapers, workers) may still use it.
  static auto* instance = new DeviceRoot();
  return *instance;
}

DeviceRoot::DeviceRoot() { Reload(); }

void DeviceRoot::Reload() {
  const char* value = std::getenv("MARROWLEAF_ROOT");
  root_ = value ? value : "";
  while (!root_.empty() && root_.back() == '/') root_.pop_back();
}

std::string DeviceRoot::ToHost(const std::string& device_path) const {
  if (root_.empty() || device_path.empty() || device_path[0] != '/') return device_path;
  return root_ + device_path;
}

std::string DeviceRoot::ToDevice(const std::string& host_path) const {
  if (root_.empty()) return host_path;
  if (host_path.compare(0, root_.size(), root_) != 0) return "";
  if (host_path.size() == root_.size()) return "/";
  if (host_path[root_.size()] != '/') return "";
  return host_path.substr(root_.size());
}

}  // namespace marrowleaf::platform

std::string HostPath(const std::string& device_path) {
  return marrowleaf::platform::DeviceRoot::Get().ToHost(device_path);
}

std::string DevicePath(const std::string& host_path) {
  return marrowleaf::platform::DeviceRoot::Get().ToDevice(host_path);
}

const std::string& DeviceRoot() { return marrowleaf::platform::DeviceRoot::Get().Root(); }

void ReloadDeviceRoot() { marrowleaf::platform::DeviceRoot::Get().Reload(); }
