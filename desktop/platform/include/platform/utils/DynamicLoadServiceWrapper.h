#pragma once

#include <string>

namespace marrowleaf::utilities {

// The device's download service: books fetched from the cloud and loan licences (acsm, lcpl files)
// fulfilled into books. The home screen shows each licence's progress on its tile.
class DynamicLoadServiceWrapper {
 public:
  // The fulfilment progress of a licence file in percent, or -1 when it is not being fulfilled.
  static int GetAcsmFileStatus(const std::string& path);
  // Records the progress of a licence file (-1 removes it): the fulfilment queue reports through
  // it. Safe from any thread.
  static void SetAcsmFileStatus(const std::string& path, int percent);
};

}  // namespace marrowleaf::utilities
