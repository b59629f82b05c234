// The one-time set-up steps of a new device, marked "done" in the global configuration.
#pragma once

struct DeviceConfig;

namespace marrowleaf::desktop {

enum class FirstRunStep {
  kEncryptNetworkConfig,  // "/ebrmain/bin/net_cfg_encrypt.sh", key net_cfg_encrypt
  kConvertJsonConfig,     // "/ebrmain/bin/json2cfg.sh", key json2cfg
  kResetFrontlight,       // key resetfrontlight
  kSetupWizard,           // setup_wizard_flag nonzero starts "/ebrmain/bin/setup_wizard.app"
};

// The step this start performs: the first of the three marked steps not yet "done", else the
// set-up wizard check.
FirstRunStep NextFirstRunStep(DeviceConfig* global_config);

// Runs the next step on "/mnt/ext1/system/config/global.cfg"; nothing happens when it can't be
// opened. Each key is marked "done" before its script runs, so a failing script is not run again.
// The scripts and the wizard replace this process; the front-light reset and a failed replacement
// end it with status 1. Returns only when the start goes on. A step whose mark can't be saved (a full
// card) runs at most once per boot, and so does the wizard then; the start goes on with a message
// that the storage is full.
void RunFirstRunSteps();

}  // namespace marrowleaf::desktop
