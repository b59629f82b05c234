#include "SharedStateMapping.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {

namespace {

constexpr const char* kStatePath = "/var/run/device_state";

}  // namespace

SharedStateMapping& SharedStateMapping::Get() {
  static SharedStateMapping* instance = new SharedStateMapping();
  return *instance;
}

DeviceSharedState* SharedStateMapping::Current() {
  SharedStateMapping& self = Get();
  std::lock_guard<std::mutex> lock(self.mutex_);
  DeviceSharedState*& state = self.by_root_[DeviceRoot()];
  // A failed mapping is tried again next time: the folder may appear later.
  if (state == nullptr)
    state = Map(kStatePath);
  return state;
}

DeviceSharedState* SharedStateMapping::Map(const std::string& device_path) {
  pk_buildpath(device_path.c_str());
  const std::string host_path = HostPath(device_path);
  int fd = open(host_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) {
    MW_LOG(MW_LOG_WARNING, "Shared device state [%s] can't be opened\n", host_path.c_str());
    return nullptr;
  }
  struct stat info {};
  // Growing the file fills it with zeros; a larger file (a newer layout) is left as it is.
  bool sized =
      fstat(fd, &info) == 0 && (static_cast<size_t>(info.st_size) >= sizeof(DeviceSharedState) ||
                                ftruncate(fd, sizeof(DeviceSharedState)) == 0);
  void* address =
      sized ? mmap(nullptr, sizeof(DeviceSharedState), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0)
            : MAP_FAILED;
  close(fd);
  if (address == MAP_FAILED) {
    MW_LOG(MW_LOG_WARNING, "Shared device state [%s] can't be mapped\n", host_path.c_str());
    return nullptr;
  }
  return static_cast<DeviceSharedState*>(address);
}

}  // namespace marrowleaf::platform
