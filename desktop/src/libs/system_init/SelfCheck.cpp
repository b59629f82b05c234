#include "system_init/SelfCheck.h"

#include <climits>
#include <cstdio>

#include "platform/sdk/clock.h"
#include "platform/sdk/config.h"
#include "platform/sdk/tasks.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kCounterPath = "/tmp/bookshelf.self.check";
constexpr const char* kCounterKey = "counter";
constexpr int kStartsBeforeServices = 10;
constexpr int kServicesRequest = 0x602;
constexpr int kSwitchToTask = 0x80;
constexpr int kServicesWaitMs = 5000;

void RequestServices(int start_number) {
  std::fprintf(stderr, "SelfCheck count [%d] => Run services\n", start_number);
  pk_ipc_cmd(kServicesRequest, 0);
  if (FindTaskByAppName("settings.app") == -1) {
    const char* const arguments[] = {"-o", "head"};
    OpenTask("/ebrmain/bin/settings.app", 2, arguments, kSwitchToTask);
  }
  std::fprintf(stderr, "SelfCheck count [%d] => sleep 5\n", start_number);
  marrowleaf::platform::SleepMs(kServicesWaitMs);
}

}  // namespace

void RunSelfCheck() {
  DeviceConfig* config = OpenConfig(kCounterPath, nullptr);
  if (config == nullptr)
    return;
  const int counter = ReadInt(config, kCounterKey, 0);
  // The file is outside input: a counter at the top of the range stays there instead of wrapping.
  const int next = counter < INT_MAX ? counter + 1 : counter;
  if (counter >= kStartsBeforeServices)
    RequestServices(next);
  WriteInt(config, kCounterKey, next);
  CloseConfig(config);
}

void ResetSelfCheckCounter() {
  DeviceConfig* config = OpenConfig(kCounterPath, nullptr);
  if (config == nullptr)
    return;
  WriteInt(config, kCounterKey, 0);
  CloseConfig(config);
}

}  // namespace marrowleaf::desktop
