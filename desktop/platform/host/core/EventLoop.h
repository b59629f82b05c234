#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>

#include "platform/sdk/events.h"

namespace marrowleaf::platform {

class ScriptPlayer;

// The one event loop of the application. It runs named one-shot timers and events posted from any
// thread, and lets a script drive the device between turns. Each turn: run the timers that are due,
// deliver the events queued so far, advance the script, then sleep until the next timer, the next
// script deadline or a new event.
class EventLoop {
 public:
  static EventLoop& Get();

  void SetHandler(EventHandler handler);
  EventHandler Handler() const;

  // Any thread.
  void Post(EventHandler handler, int type, int par1, int par2);
  // Queues an event ahead of everything queued so far.
  void PostFirst(EventHandler handler, int type, int par1, int par2);
  void RequestExit();
  void AddPendingWork(int delta);

  // Event-loop thread. `key` identifies the callback for QueryTimer/ClearTimer.
  void ArmTimer(const std::string& name, const void* key, std::function<void()> callback, int ms);
  void ClearTimerByName(const std::string& name);
  void ClearTimerByKey(const void* key);
  bool IsTimerArmed(const std::string& name) const;
  bool IsTimerArmedByKey(const void* key) const;

  // Runs until RequestExit. The script (may be null) is advanced between turns.
  void Run(ScriptPlayer* script);
  // One turn without sleeping: due timers and queued events. Returns the number of callbacks run.
  int RunPending();
  // True when nothing is queued, no timer is armed and no work is pending on other threads.
  bool IsIdle() const;
  bool ExitRequested() const;
  // Milliseconds until the next timer is due (INT64_MAX when none).
  int64_t NextTimerDeadline() const;
  // Forgets every timer, event and exit request (tests start each case from a clean loop).
  void Reset();

 private:
  struct Timer {
    const void* key;
    std::function<void()> callback;
    int64_t deadline_ms;
    uint64_t generation;
  };
  struct PostedEvent {
    EventHandler handler;
    int type;
    int par1;
    int par2;
  };

  EventLoop() = default;
  bool RunOneDueTimer();
  bool DeliverOneEvent();
  void WaitForWork(int64_t deadline_ms);

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  EventHandler handler_ = nullptr;
  std::deque<PostedEvent> events_;
  std::map<std::string, Timer> timers_;
  uint64_t timer_generation_ = 0;
  int pending_work_ = 0;
  bool exit_requested_ = false;
};

}  // namespace marrowleaf::platform
