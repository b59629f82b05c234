#include "platform/utils/DynamicLoadServiceWrapper.h"

#include <map>
#include <mutex>
#include <string>

namespace marrowleaf::utilities {
namespace {

struct FulfilmentStatus {
  std::mutex mutex;
  std::map<std::string, int> percent_by_path;
};

// Never destroyed: the fulfilment worker may report while the process ends.
FulfilmentStatus& Status() {
  static auto* status = new FulfilmentStatus();
  return *status;
}

}  // namespace

int DynamicLoadServiceWrapper::GetAcsmFileStatus(const std::string& path) {
  FulfilmentStatus& status = Status();
  std::lock_guard<std::mutex> lock(status.mutex);
  auto found = status.percent_by_path.find(path);
  return found == status.percent_by_path.end() ? -1 : found->second;
}

void DynamicLoadServiceWrapper::SetAcsmFileStatus(const std::string& path, int percent) {
  FulfilmentStatus& status = Status();
  std::lock_guard<std::mutex> lock(status.mutex);
  if (percent < 0) {
    status.percent_by_path.erase(path);
  } else {
    status.percent_by_path[path] = percent > 100 ? 100 : percent;
  }
}

}  // namespace marrowleaf::utilities
