// Facts about the device and its global switches. In the simulator they come from the device
// profile "<root>/.sim/device.cfg", read once (ReloadDeviceProfile reads it again).
#pragma once

#include <atomic>
#include <cstdint>

void ReloadDeviceProfile();

// Initialises the SDK; the flags choose which services the application uses.
void InitPagekit(int flags);
void PkSetAppCapability(int capability);
void pk_global_gesture_set_state(int gesture, int state);
void pk_global_gesture_set_action(int gesture, int action);
// Prepares the screen for drawing (the first window or a message before it).
void OpenScreen();

// Hardware configuration.
int device_display_colormask();  // nonzero on a colour display
int _device_touchpanel();        // 1 with a touch panel
int _device_wifi();              // 1 with Wi-Fi
int device_audio();              // 1 with audio output
int device_number();             // the model number
const char* device_ID();         // model name
const char* GetSerialNumber();
long long hw_boottime_ms();

const char* GetSoftwareVersion();
int SafeMode();
int GetCustomizedPartner();
const char* GetCustomizedPartnerName();

int IsFlightModeEnabled();
void SetFlightMode(int enabled);
int GetFrontlightState();
void SetFrontlightState(int percent);
void OpenControlPanel();

// User profiles: named sets of the user's data.
// 1 when switched, 0 when the switch failed.
int pk_switch_profile(const char* name);
// Makes sure the current profile's files are in place. 0 on success.
int pk_check_profile();
// The current profile name ("" for the default one).
const char* GetCurrentProfile();

// The state all tasks of the device share (memory-mapped in the simulator:
// "/var/run/device_state"). Fields are read and written by any task and by any thread of one, at
// any time, so each one is a lock-free atomic: lock-free atomics work across processes, and a
// plain field would be a data race between a task's threads. It may be missing, then
// GetDeviceSharedState returns nullptr.
struct DeviceSharedState {
  std::atomic<uint8_t> screen_reader;     // the screen reader is on
  std::atomic<uint8_t> store_mode_locked; // another task fixed the home screen's store-widget mode
  std::atomic<uint8_t> foreign_task_in_front;  // a task other than the home screen holds the screen
  uint8_t reserved;
  std::atomic<int32_t> not_viewed_notifications;
  std::atomic<uint32_t> library_change_counter;  // raised after each edit of the library database
  std::atomic<int32_t> active_task;
};
static_assert(std::atomic<uint8_t>::is_always_lock_free && std::atomic<int32_t>::is_always_lock_free &&
                  std::atomic<uint32_t>::is_always_lock_free,
              "the shared state is shared between processes only through lock-free atomics");
static_assert(sizeof(DeviceSharedState) == 16, "the shared state's layout is fixed for every task");
DeviceSharedState* GetDeviceSharedState();
