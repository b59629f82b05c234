#pragma once

#include <mutex>
#include <string>

namespace marrowleaf::platform {

// The device's network as the device profile describes it: connected while the device has Wi-Fi
// ("wifi" = 1) and the profile says the network is up ("network" = 1). A connection attempt can't
// bring a network up that the profile keeps down; it fails as it would out of range. The network
// manager's running state is remembered for the life of the process. Every connection attempt
// and manager change is journaled as event "net". Safe from any thread.
class NetworkService {
 public:
  static NetworkService& Get();

  bool Connected() const;
  // The network comes up or goes down (the script's "network-up" and "network-down"): the device
  // profile's "network" key changes, as the device would remember it. Journaled.
  void SetConnected(bool connected);
  // 0 when connected, else -1.
  int Connect(const std::string& what, const std::string& name);
  // 1 running, 0 stopped.
  int ManagerStatus() const;
  int SetManagerRunning(bool running);

 private:
  NetworkService() = default;
  static void JournalResult(const std::string& what, const std::string& name, int result);

  mutable std::mutex mutex_;
  // Unknown until asked: then it starts in the state the network is in.
  int manager_running_ = -1;
};

}  // namespace marrowleaf::platform
