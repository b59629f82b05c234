#pragma once

#include <mutex>

namespace marrowleaf::platform {

// Who holds the screen: the home screen, or one or more tasks it started in front of it. As on the
// device, the home screen goes to the background (EVT_BACKGROUND, and the shared state's
// foreign_task_in_front set) when the first such task starts, and comes back (EVT_FOREGROUND) when
// the last one ends. Safe from any thread; events are posted to the event loop in order.
class ScreenOwnership {
 public:
  // A task took the screen.
  void Acquire(int task);
  // A task that held the screen ended.
  void Release();
  int Holders() const;

 private:
  static void Publish(bool foreign_in_front, int active_task);

  mutable std::mutex mutex_;
  int holders_ = 0;
};

}  // namespace marrowleaf::platform
