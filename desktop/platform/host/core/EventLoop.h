#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "platform/sdk/events.h"

namespace marrowleaf::platform {

class ModalSession;
class ScriptPlayer;

// The one event loop of the application. It runs named one-shot timers and events posted from any
// thread, and lets a script drive the device between turns. Each turn: run the timers that are due,
// deliver the events queued so far, advance the script, then sleep until the next timer, the next
// script deadline or a new event.
//
// A modal session (RunModal) runs turns of its own inside an event handler: it takes the input,
// the script goes on, the platform's own timers and tasks run, and everything else waits in order
// until the session ends.
class EventLoop {
 public:
  static EventLoop& Get();

  void SetHandler(EventHandler handler);
  EventHandler Handler() const;

  // Any thread.
  void Post(EventHandler handler, int type, int par1, int par2);
  // Queues an event ahead of everything queued so far.
  void PostFirst(EventHandler handler, int type, int par1, int par2);
  // Runs a task of the platform itself on the event-loop thread at the next turn, also during a
  // modal session.
  void PostTask(std::function<void()> task);
  void RequestExit();
  void AddPendingWork(int delta);

  // Event-loop thread. `key` identifies the callback for QueryTimer/ClearTimer.
  void ArmTimer(const std::string& name, const void* key, std::function<void()> callback, int ms);
  void ClearTimerByName(const std::string& name);
  void ClearTimerByKey(const void* key);
  bool IsTimerArmed(const std::string& name) const;
  bool IsTimerArmedByKey(const void* key) const;
  // A timer of the platform itself (a message's time-out): it runs during a modal session too,
  // and never keeps the loop from being idle, since it is no work of the application.
  void ArmSystemTimer(const std::string& name, std::function<void()> callback, int ms);

  // Runs until RequestExit. The script (may be null) is advanced between turns.
  void Run(ScriptPlayer* script);
  // One turn without sleeping: due timers and queued events. Returns the number of callbacks run.
  int RunPending();
  // True when a modal session can run now: inside Run, on its thread, with someone to answer (a
  // person at the window or a written script; the default headless run leaves dialogs to their
  // default button), and no session open yet.
  bool CanRunModal() const;
  // Runs turns until the session has finished; the events kept meanwhile are then delivered
  // first, in order. Returns false, running nothing, when no session can run now.
  bool RunModal(ModalSession& session);
  // True when the calling thread may draw: the one running the loop (or any before it runs).
  bool OnLoopThread() const;
  // True when nothing is queued, no timer of the application is armed (during a modal session:
  // none can run) and no work is pending on other threads.
  bool IsIdle() const;
  bool ExitRequested() const;
  // Milliseconds until the next timer is due (INT64_MAX when none); during a modal session only the
  // platform's own timers count.
  int64_t NextTimerDeadline() const;
  // Forgets every timer, event and exit request (tests start each case from a clean loop).
  void Reset();

 private:
  struct Timer {
    const void* key;
    std::function<void()> callback;
    int64_t deadline_ms;
    uint64_t generation;
    bool system = false;
  };
  struct PostedEvent {
    EventHandler handler = nullptr;
    int type = 0;
    int par1 = 0;
    int par2 = 0;
    std::function<void()> task;
  };

  EventLoop() = default;
  void AddTimer(const std::string& name, Timer timer, int ms);
  bool RunOneDueTimer();
  bool DeliverOneEvent();
  void WaitForWork(int64_t deadline_ms);
  // One turn of a modal session: the platform's due timers, then the queued events.
  void RunModalTurn(ModalSession& session);
  // The script's turn during a session; false when nobody is left to answer it.
  bool AdvanceScriptInSession(int64_t* deadline);

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  EventHandler handler_ = nullptr;
  std::deque<PostedEvent> events_;
  std::map<std::string, Timer> timers_;
  uint64_t timer_generation_ = 0;
  int pending_work_ = 0;
  bool exit_requested_ = false;
  // Set while Run runs.
  bool running_ = false;
  std::thread::id loop_thread_;
  ScriptPlayer* script_ = nullptr;
  bool modal_ = false;
  // What the application receives once the modal session ends.
  std::deque<PostedEvent> kept_;
};

}  // namespace marrowleaf::platform
