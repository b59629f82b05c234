#include "EventLoop.h"

#include <limits>

#include "LoopControl.h"
#include "ModalSession.h"
#include "ScriptPlayer.h"
#include "TaskManager.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/timers.h"

namespace marrowleaf::platform {

EventLoop& EventLoop::Get() {
  // Never destroyed: threads that outlive main (task reapers, workers) may still use it.
  static auto* instance = new EventLoop();
  return *instance;
}

void EventLoop::SetHandler(EventHandler handler) {
  std::lock_guard<std::mutex> lock(mutex_);
  handler_ = handler;
}

EventHandler EventLoop::Handler() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return handler_;
}

void EventLoop::Post(EventHandler handler, int type, int par1, int par2) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_back({handler, type, par1, par2, nullptr});
  }
  wake_.notify_all();
}

void EventLoop::PostFirst(EventHandler handler, int type, int par1, int par2) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    events_.push_front({handler, type, par1, par2, nullptr});
  }
  wake_.notify_all();
}

void EventLoop::PostTask(std::function<void()> task) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    PostedEvent event;
    event.task = std::move(task);
    events_.push_back(std::move(event));
  }
  wake_.notify_all();
}

void EventLoop::RequestExit() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    exit_requested_ = true;
  }
  wake_.notify_all();
}

void EventLoop::AddPendingWork(int delta) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_work_ += delta;
    if (pending_work_ < 0) pending_work_ = 0;
  }
  wake_.notify_all();
}

void EventLoop::ArmTimer(const std::string& name, const void* key, std::function<void()> callback,
                         int ms) {
  AddTimer(name, Timer{key, std::move(callback), 0, 0, false}, ms);
}

void EventLoop::ArmSystemTimer(const std::string& name, std::function<void()> callback, int ms) {
  AddTimer(name, Timer{nullptr, std::move(callback), 0, 0, true}, ms);
}

void EventLoop::AddTimer(const std::string& name, Timer timer, int ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  // Re-arming a name replaces the old timer, so the period starts again from now.
  timer.deadline_ms = CurrentClock().NowMs() + (ms < 0 ? 0 : ms);
  timer.generation = ++timer_generation_;
  timers_[name] = std::move(timer);
}

void EventLoop::ClearTimerByName(const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  timers_.erase(name);
}

void EventLoop::ClearTimerByKey(const void* key) {
  std::lock_guard<std::mutex> lock(mutex_);
  for (auto it = timers_.begin(); it != timers_.end();) {
    it = it->second.key == key ? timers_.erase(it) : std::next(it);
  }
}

bool EventLoop::IsTimerArmed(const std::string& name) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return timers_.count(name) > 0;
}

bool EventLoop::IsTimerArmedByKey(const void* key) const {
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& entry : timers_) {
    if (entry.second.key == key) return true;
  }
  return false;
}

int64_t EventLoop::NextTimerDeadline() const {
  std::lock_guard<std::mutex> lock(mutex_);
  int64_t next = std::numeric_limits<int64_t>::max();
  for (const auto& entry : timers_) {
    if (!modal_ || entry.second.system) next = std::min(next, entry.second.deadline_ms);
  }
  return next;
}

bool EventLoop::RunOneDueTimer() {
  std::function<void()> callback;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    const int64_t now = CurrentClock().NowMs();
    auto due = timers_.end();
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
      // Among due timers the earliest deadline runs first; equal deadlines in arming order.
      if (it->second.deadline_ms > now || (modal_ && !it->second.system)) continue;
      if (due == timers_.end() || it->second.deadline_ms < due->second.deadline_ms ||
          (it->second.deadline_ms == due->second.deadline_ms &&
           it->second.generation < due->second.generation)) {
        due = it;
      }
    }
    if (due == timers_.end()) return false;
    callback = std::move(due->second.callback);
    timers_.erase(due);
  }
  // Outside the lock: the callback may arm timers or post events.
  if (callback) callback();
  return true;
}

bool EventLoop::DeliverOneEvent() {
  PostedEvent event;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (events_.empty()) return false;
    event = std::move(events_.front());
    events_.pop_front();
  }
  if (event.task) {
    event.task();
    return true;
  }
  EventHandler handler = event.handler ? event.handler : Handler();
  if (handler) handler(event.type, event.par1, event.par2);
  return true;
}

int EventLoop::RunPending() {
  int ran = 0;
  while (!ExitRequested() && RunOneDueTimer()) ++ran;
  // Only the events queued before this turn; events they post wait for the next turn, so a handler
  // that keeps posting can't starve the timers.
  size_t queued;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queued = events_.size();
  }
  for (size_t i = 0; i < queued && !ExitRequested() && DeliverOneEvent(); ++i) ++ran;
  return ran;
}

bool EventLoop::IsIdle() const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!events_.empty() || pending_work_ != 0) return false;
  if (modal_) return true;
  for (const auto& entry : timers_) {
    if (!entry.second.system) return false;
  }
  return true;
}

bool EventLoop::ExitRequested() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return exit_requested_;
}

void EventLoop::WaitForWork(int64_t deadline_ms) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (exit_requested_ || !events_.empty()) return;
  CurrentClock().WaitUntil(lock, wake_, deadline_ms);
}

void EventLoop::Run(ScriptPlayer* script) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    running_ = true;
    loop_thread_ = std::this_thread::get_id();
    script_ = script;
  }
  while (!ExitRequested()) {
    RunPending();
    if (ExitRequested()) break;
    int64_t deadline = NextTimerDeadline();
    if (script) {
      if (!script->Advance(*this)) break;
      deadline = std::min(deadline, script->WakeDeadline());
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!events_.empty()) continue;
    }
    WaitForWork(deadline);
  }
  std::lock_guard<std::mutex> lock(mutex_);
  running_ = false;
  script_ = nullptr;
}

bool EventLoop::CanRunModal() const {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!running_ || modal_ || std::this_thread::get_id() != loop_thread_) return false;
  return script_ == nullptr || script_->AnswersDialogs();
}

bool EventLoop::OnLoopThread() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return !running_ || std::this_thread::get_id() == loop_thread_;
}

bool EventLoop::RunModal(ModalSession& session) {
  if (!CanRunModal()) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    modal_ = true;
  }
  while (!session.Finished()) {
    RunModalTurn(session);
    if (session.Finished()) break;
    int64_t deadline = NextTimerDeadline();
    if (ExitRequested() || !AdvanceScriptInSession(&deadline)) {
      session.EndUnanswered();
      break;
    }
    if (session.Finished()) break;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (!events_.empty()) continue;
    }
    WaitForWork(deadline);
  }
  std::lock_guard<std::mutex> lock(mutex_);
  modal_ = false;
  // What the application missed comes first, in the order it came.
  events_.insert(events_.begin(), std::make_move_iterator(kept_.begin()),
                 std::make_move_iterator(kept_.end()));
  kept_.clear();
  return true;
}

void EventLoop::RunModalTurn(ModalSession& session) {
  while (!ExitRequested() && RunOneDueTimer()) {
  }
  std::deque<PostedEvent> queued;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queued.swap(events_);
  }
  for (PostedEvent& event : queued) {
    if (event.task) {
      event.task();
      continue;
    }
    // Once answered, the session takes nothing more: the rest belongs to the application.
    if (!session.Finished() && session.Offer(event.type, event.par1, event.par2)) continue;
    std::lock_guard<std::mutex> lock(mutex_);
    kept_.push_back(std::move(event));
  }
}

bool EventLoop::AdvanceScriptInSession(int64_t* deadline) {
  ScriptPlayer* script = nullptr;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    script = script_;
  }
  if (script == nullptr) return true;
  // After "quit" (said or implied by the script's end) nobody answers any more.
  if (script->QuitSent() || !script->Advance(*this) || script->QuitSent()) return false;
  *deadline = std::min(*deadline, script->WakeDeadline());
  return true;
}

void EventLoop::Reset() {
  std::lock_guard<std::mutex> lock(mutex_);
  events_.clear();
  kept_.clear();
  timers_.clear();
  pending_work_ = 0;
  exit_requested_ = false;
  modal_ = false;
  handler_ = nullptr;
}

void PostStartEvents() {
  EventLoop& loop = EventLoop::Get();
  // Tasks started during the start-up upkeep may already have queued their background and
  // foreground events; the application must see its start before them.
  loop.PostFirst(nullptr, EVT_INIT, 0, 0);
  // As on the device, the new home screen comes to the front and is drawn, unless a task started
  // during the upkeep holds the screen (its end brings the foreground event then).
  if (TaskManager::Get().Screen().Holders() == 0) {
    loop.Post(nullptr, EVT_FOREGROUND, 0, 0);
    loop.Post(nullptr, EVT_SHOW, 0, 0);
  }
}

void RequestLoopExit() { EventLoop::Get().RequestExit(); }

void PostEvent(int type, int par1, int par2) { EventLoop::Get().Post(nullptr, type, par1, par2); }

void AddPendingWork(int delta) { EventLoop::Get().AddPendingWork(delta); }

}  // namespace marrowleaf::platform

using marrowleaf::platform::EventLoop;

EventHandler GetEventHandler() { return EventLoop::Get().Handler(); }

void SendEvent(EventHandler handler, int type, int par1, int par2) {
  EventLoop::Get().Post(handler, type, par1, par2);
}

void SetHardTimer(const char* name, TimerProc callback, int milliseconds) {
  if (name == nullptr || callback == nullptr) return;
  EventLoop::Get().ArmTimer(name, reinterpret_cast<const void*>(callback), [callback] { callback(); },
                            milliseconds);
}

void SetHardTimerEx(const char* name, TimerProcEx callback, void* context, int milliseconds) {
  if (name == nullptr || callback == nullptr) return;
  EventLoop::Get().ArmTimer(name, reinterpret_cast<const void*>(callback),
                            [callback, context] { callback(context); }, milliseconds);
}

void SetWeakTimer(const char* name, TimerProc callback, int milliseconds) {
  SetHardTimer(name, callback, milliseconds);
}

void ClearTimer(TimerProc callback) {
  EventLoop::Get().ClearTimerByKey(reinterpret_cast<const void*>(callback));
}

void ClearTimerByName(const char* name) {
  if (name) EventLoop::Get().ClearTimerByName(name);
}

int QueryTimer(TimerProc callback) {
  return EventLoop::Get().IsTimerArmedByKey(reinterpret_cast<const void*>(callback)) ? 1 : 0;
}

int QueryTimerByName(const char* name) {
  return name && EventLoop::Get().IsTimerArmed(name) ? 1 : 0;
}
