#pragma once

#include <string>
#include <utility>
#include <vector>

namespace marrowleaf::tools {

// One simulated device: the facts the hardware would tell, as the key-value entries of
// "<root>/.sim/device.cfg" in the order they are written.
struct DeviceProfile {
  std::string name;
  std::vector<std::pair<std::string, std::string>> entries;
};

// The devices the sample device can be made for.
class DeviceProfiles {
 public:
  static const std::vector<DeviceProfile>& All();
  // nullptr for an unknown name.
  static const DeviceProfile* Find(const std::string& name);
  // "6in-758, 6in-1072, ..." for messages.
  static std::string Names();
};

}  // namespace marrowleaf::tools
