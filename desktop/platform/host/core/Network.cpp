// The network functions of the SDK, answered by the NetworkService from the device profile.
#include "platform/sdk/network.h"

#include <string>

#include "NetworkService.h"

using marrowleaf::platform::NetworkService;

namespace {

// Network names come from the user's saved networks; a longer one is not a name.
constexpr size_t kMaxNameBytes = 256;

std::string NetworkName(const char* name) {
  if (name == nullptr)
    return "";
  std::string text(name);
  if (text.size() > kMaxNameBytes)
    text.resize(kMaxNameBytes);
  return text;
}

}  // namespace

int NetConnect(const char* name) {
  return NetworkService::Get().Connect("connect", NetworkName(name));
}

int NetConnect2(const char* name, int silent) {
  return NetworkService::Get().Connect(silent ? "connect_silent" : "connect", NetworkName(name));
}

int QueryNetwork() {
  return NetworkService::Get().Connected() ? 0xf00 : 0;
}

int GetNetState() {
  return NetworkService::Get().Connected() ? NET_CONNECTED : NET_OFF;
}

int NetMgrStatus() {
  return NetworkService::Get().ManagerStatus();
}

int NetMgr(int start) {
  return NetworkService::Get().SetManagerRunning(start != 0);
}
