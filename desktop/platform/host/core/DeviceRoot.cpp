#include "DeviceRoot.h"


#include <climits>
#include <cstdlib>
#include <vector>

#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {
namespace {

std::string FolderOf(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos || path == "/")
    return "";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The real path of the deepest folder of path that exists, so a path still to be created is judged
// by the folders it will be created in. "" when nothing of it resolves.
std::string ResolvedFolder(std::string path) {
  char resolved[PATH_MAX];
  for (; !path.empty(); path = FolderOf(path)) {
    if (realpath(path.c_str(), resolved) != nullptr)
      return resolved;
  }
  return "";
}

bool IsSameOrBelow(const std::string& path, const std::string& folder) {
  if (path.empty() || folder.empty())
    return false;
  if (folder == "/")
    return true;
  return path.compare(0, folder.size(), folder) == 0 &&
         (path.size() == folder.size() || path[folder.size()] == '/');
}

}  // namespace

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

std::string DeviceRoot::Normalize(const std::string& device_path) {
  if (device_path.empty() || device_path[0] != '/')
    return "";
  std::vector<std::string> names;
  size_t start = 1;
  while (start <= device_path.size()) {
    size_t end = device_path.find('/', start);
    if (end == std::string::npos)
      end = device_path.size();
    const std::string name = device_path.substr(start, end - start);
    if (name == "..") {
      if (!names.empty())
        names.pop_back();
    } else if (!name.empty() && name != ".") {
      names.push_back(name);
    }
    start = end + 1;
  }
  std::string normal;
  for (const std::string& name : names) normal += "/" + name;
  if (normal.empty())
    return "/";
  if (device_path.back() == '/')
    normal += '/';
  return normal;
}

std::string DeviceRoot::ToHost(const std::string& device_path) const {
  const std::string normal = Normalize(device_path);
  if (normal.empty()) {
    if (!device_path.empty())
      MW_LOG(MW_LOG_WARNING, "refused the device path [%s]: not absolute", device_path.c_str());
    return "";
  }
  return root_ + normal;
}

std::string DeviceRoot::ToHostForChange(const std::string& device_path) const {
  const std::string host = ToHost(device_path);
  if (host.empty() || root_.empty())
    return host;
  if (!IsSameOrBelow(ResolvedFolder(FolderOf(host)), ResolvedFolder(root_))) {
    MW_LOG(MW_LOG_WARNING, "refused to change [%s]: a link leads out of the device root",
           device_path.c_str());
    return "";
  }
  return host;
}

bool DeviceRoot::ResolvesInside(const std::string& device_path,
                                const std::string& device_folder) const {
  const std::string host = ToHost(device_path);
  const std::string folder = ToHost(device_folder);
  if (host.empty() || folder.empty())
    return false;
  return IsSameOrBelow(ResolvedFolder(FolderOf(host)), ResolvedFolder(folder));
}

std::string DeviceRoot::ToDevice(const std::string& host_path) const {
  if (root_.empty())
    return host_path;
  if (host_path.compare(0, root_.size(), root_) != 0)
    return "";
  if (host_path.size() == root_.size())
    return "/";
  if (host_path[root_.size()] != '/')
    return "";
  return host_path.substr(root_.size());
}

}  // namespace marrowleaf::platform

std::string HostPath(const std::string& device_path) {
  return marrowleaf::platform::DeviceRoot::Get().ToHost(device_path);
}

std::string HostPathForChange(const std::string& device_path) {
  return marrowleaf::platform::DeviceRoot::Get().ToHostForChange(device_path);
}

bool ResolvesInside(const std::string& device_path, const std::string& device_folder) {
  return marrowleaf::platform::DeviceRoot::Get().ResolvesInside(device_path, device_folder);
}

std::string DevicePath(const std::string& host_path) {
  return marrowleaf::platform::DeviceRoot::Get().ToDevice(host_path);
}

const std::string& DeviceRoot() { return marrowleaf::platform::DeviceRoot::Get().Root(); }

void ReloadDeviceRoot() { marrowleaf::platform::DeviceRoot::Get().Reload(); }
