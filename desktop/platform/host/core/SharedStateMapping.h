#pragma once

#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/sdk/device.h"

namespace marrowleaf::platform {

// The device state shared by all tasks: the file "/var/run/device_state" mapped MAP_SHARED, so
// every process (and every mapping in one process) that maps it sees the same bytes. One mapping
// is made per device root and kept for the life of the process, so pointers handed out stay valid
// after a test moves to another root.
class SharedStateMapping {
 public:
  // The mapping of the current device root, created and sized when the file is missing; nullptr
  // when it can't be mapped.
  static DeviceSharedState* Current();

 private:
  static SharedStateMapping& Get();
  static DeviceSharedState* Map(const std::string& device_path);

  std::mutex mutex_;
  std::unordered_map<std::string, DeviceSharedState*> by_root_;
};

}  // namespace marrowleaf::platform
