#include "NetworkService.h"

#include <json/value.h>

#include "DeviceProfile.h"
#include "Journal.h"

namespace marrowleaf::platform {

NetworkService& NetworkService::Get() {
  // Never destroyed: threads that outlive main (task reapers, workers) may still use it.
  static auto* instance = new NetworkService();
  return *instance;
}

bool NetworkService::Connected() const {
  const DeviceProfile& profile = DeviceProfile::Get();
  return profile.Int("wifi") == 1 && profile.Int("network") == 1;
}

void NetworkService::SetConnected(bool connected) {
  DeviceProfile::Get().SetString("network", connected ? "1" : "0");
  JournalResult(connected ? "up" : "down", "", 0);
}

int NetworkService::Connect(const std::string& what, const std::string& name) {
  const int result = Connected() ? 0 : -1;
  JournalResult(what, name, result);
  return result;
}

int NetworkService::ManagerStatus() const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (manager_running_ >= 0)
    return manager_running_;
  return Connected() ? 1 : 0;
}

int NetworkService::SetManagerRunning(bool running) {
  // Without Wi-Fi there is no manager to start.
  const bool has_wifi = DeviceProfile::Get().Int("wifi") == 1;
  const int result = !running || has_wifi ? 0 : -1;
  if (result == 0) {
    std::lock_guard<std::mutex> lock(mutex_);
    manager_running_ = running ? 1 : 0;
  }
  JournalResult(running ? "manager_start" : "manager_stop", "", result);
  return result;
}

void NetworkService::JournalResult(const std::string& what, const std::string& name, int result) {
  Json::Value fields;
  fields["what"] = what;
  if (!name.empty())
    fields["name"] = name;
  fields["result"] = result;
  Journal::Append("net", fields);
}

}  // namespace marrowleaf::platform
