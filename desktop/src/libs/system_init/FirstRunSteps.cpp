#include "system_init/FirstRunSteps.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/sdk/clock.h"
#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/files.h"
#include "platform/sdk/tasks.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kGlobalConfigPath = "/mnt/ext1/system/config/global.cfg";
constexpr const char* kDone = "done";
constexpr const char* kSetupWizardPath = "/ebrmain/bin/setup_wizard.app";
constexpr int kFrontlightPercent = 60;
constexpr int kFlightModeSettleMs = 250;
// The steps started in this boot whose "done" mark could not be saved. /tmp is emptied at each boot
// and lives in memory, so it has room when the card is full.
constexpr const char* kBootRecordPath = "/tmp/bookshelf.first_run";
constexpr const char* kWizardKey = "setup_wizard";
constexpr const char* kStorageFullKey = "storage_full";
constexpr int kStorageFullMessageMs = 10000;

struct MarkedStep {
  FirstRunStep step;
  const char* key;
  const char* announcement;
  const char* script;  // nullptr: the step is done in-process
};

constexpr MarkedStep kMarkedSteps[] = {
    {FirstRunStep::kEncryptNetworkConfig, "net_cfg_encrypt", "Want run net_cfg_encrypt.sh\n",
     "/ebrmain/bin/net_cfg_encrypt.sh"},
    {FirstRunStep::kConvertJsonConfig, "json2cfg", "Want run json2cfg.sh\n",
     "/ebrmain/bin/json2cfg.sh"},
    {FirstRunStep::kResetFrontlight, "resetfrontlight", "Want resetfrontlight\n", nullptr},
};

bool IsDone(DeviceConfig* config, const char* key) {
  const char* value = ReadString(config, key, "");
  return value != nullptr && std::strcmp(value, kDone) == 0;
}

const MarkedStep* PendingMarkedStep(DeviceConfig* config) {
  for (const MarkedStep& step : kMarkedSteps) {
    if (!IsDone(config, step.key))
      return &step;
  }
  return nullptr;
}

bool InBootRecord(const char* key) {
  DeviceConfig* record = OpenConfig(kBootRecordPath, nullptr);
  if (record == nullptr)
    return false;
  const bool found = ReadInt(record, key, 0) != 0;
  CloseConfigNoSave(record);
  return found;
}

void AddToBootRecord(const char* key) {
  DeviceConfig* record = OpenConfig(kBootRecordPath, nullptr);
  if (record == nullptr)
    return;
  WriteInt(record, key, 1);
  WriteInt(record, kStorageFullKey, 1);
  CloseConfig(record);
}

// Replaces the process by a program; only a failure comes back, and then the start can't go on.
[[noreturn]] void ReplaceProcessBy(const char* path) {
  ExecProgram(path);
  std::exit(1);
}

[[noreturn]] void RunMarkedStep(DeviceConfig* config, const MarkedStep& step) {
  std::fputs(step.announcement, stderr);
  WriteString(config, step.key, kDone);
  // A mark that can't be saved (a full card) would run the step, and restart the home screen, at
  // every start: the step then runs once in this boot and the next starts go past it.
  if (SaveConfig(config) != 0)
    AddToBootRecord(step.key);
  if (step.script != nullptr) {
    CloseConfigNoSave(config);
    ReplaceProcessBy(step.script);
  }
  InitPagekit(0);
  SetFrontlightState(kFrontlightPercent);
  CloseConfigNoSave(config);
  std::exit(1);
}

void RunSetupWizard() {
  if (IsFlightModeEnabled()) {
    SetFlightMode(0);
    marrowleaf::platform::SleepMs(kFlightModeSettleMs);
  }
  if (pk_access(kSetupWizardPath, F_OK) == 0)
    ReplaceProcessBy(kSetupWizardPath);
  Message(ICON_ERROR, "@Error", "Setup wizard application not found!", 3000);
}

}  // namespace

FirstRunStep NextFirstRunStep(DeviceConfig* global_config) {
  const MarkedStep* step = PendingMarkedStep(global_config);
  return step ? step->step : FirstRunStep::kSetupWizard;
}

void RunFirstRunSteps() {
  DeviceConfig* config = OpenConfig(kGlobalConfigPath, nullptr);
  if (config == nullptr)
    return;
  for (const MarkedStep& step : kMarkedSteps) {
    if (!IsDone(config, step.key) && !InBootRecord(step.key))
      RunMarkedStep(config, step);
  }
  const int wizard_wanted = ReadInt(config, "setup_wizard_flag", 1);
  CloseConfigNoSave(config);
  // With a full card the wizard can't save that it is done either: it too runs once in this boot.
  const bool storage_full = InBootRecord(kStorageFullKey);
  if (storage_full)
    Message(ICON_ERROR, "@Error", "@Storage_full_setup", kStorageFullMessageMs);
  if (wizard_wanted == 0 || (storage_full && InBootRecord(kWizardKey)))
    return;
  if (storage_full)
    AddToBootRecord(kWizardKey);
  RunSetupWizard();
}

}  // namespace marrowleaf::desktop
