#include "ScreenOwnership.h"

#include "LoopControl.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"

namespace marrowleaf::platform {

void ScreenOwnership::Acquire(int task) {
  std::lock_guard<std::mutex> lock(mutex_);
  ++holders_;
  // Every task that takes the screen becomes the active one; only the first one sends the home
  // screen to the background.
  Publish(true, task);
  if (holders_ == 1)
    PostEvent(EVT_BACKGROUND, 0, 0);
}

void ScreenOwnership::Release() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (holders_ == 0)
    return;
  if (--holders_ > 0)
    return;
  Publish(false, 0);
  PostEvent(EVT_FOREGROUND, 0, 0);
}

int ScreenOwnership::Holders() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return holders_;
}

void ScreenOwnership::Publish(bool foreign_in_front, int active_task) {
  DeviceSharedState* state = GetDeviceSharedState();
  if (state == nullptr)
    return;
  // The task first, so that a reader who sees the flag raised never sees the previous task.
  state->active_task = active_task;
  state->foreign_task_in_front = foreign_in_front ? 1 : 0;
}

}  // namespace marrowleaf::platform
