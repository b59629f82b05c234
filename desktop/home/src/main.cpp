// The home screen's program entry. The device's task manager starts it at boot and whenever the
// home screen must run again; with maintenance switches it performs one piece of upkeep and ends.
#include "controllers/AppListConnection.h"
#include "controllers/Controller.h"
#include "controllers/CoverConnection.h"
#include "controllers/DataConnection.h"
#include "controllers/StartupStages.h"
#include "controllers/WiFiPromptCheck.h"
#include "data/CoverCacheManager.h"
#include "data/DataManager.h"
#include "platform/sdk/device.h"
#include "platform/sdk/screen.h"
#include "system_init/SystemInit.h"

namespace {

constexpr int kSdkServices = 0x4110;

}  // namespace

int main(int argc, char** argv) {
  using marrowleaf::desktop::Controller;
  using marrowleaf::desktop::StartupStages;
  StartupStages::Mark("main");
  InitPagekit(kSdkServices);
  PkSetAppCapability(1);
  pk_global_gesture_set_state(0, 1);
  pk_global_gesture_set_state(1, 1);
  pk_global_gesture_set_action(1, 3);
  if (marrowleaf::desktop::system_init(argc, argv) != 0) return 0;
  StartupStages::Mark("upkeep done");
  SetOrientation(0);
  SetDefaultOrientation(-1);
  SetPanelType(1);
  // The parts live as long as the process: the controller is never destroyed.
  static marrowleaf::desktop::DataConnection data(marrowleaf::desktop::DataManager::Instance());
  static marrowleaf::desktop::AppListConnection apps;
  static marrowleaf::desktop::CoverConnection covers(
      &marrowleaf::desktop::CoverCacheManager::Instance());
  static marrowleaf::desktop::WiFiPromptCheck wifi(Controller::Instance());
  Controller::Parts parts;
  parts.data = &data;
  parts.apps = &apps;
  parts.covers = &covers;
  parts.wifi = &wifi;
  Controller::Instance().Connect(parts);
  Controller::Instance().Run(argc, argv);
  // The cover worker may be inside a cover reader (a PDF's colour management, say) whose libraries
  // free their state as the process ends: it finishes its task and stops first.
  marrowleaf::desktop::CoverCacheManager::Instance().StopWorker();
  return 0;
}
