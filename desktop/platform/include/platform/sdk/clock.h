// The monotonic clock that drives timers and the event loop. Tests install a manual clock to move
// time by hand; everything else uses the steady system clock.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

namespace marrowleaf::platform {

class Clock {
 public:
  virtual ~Clock() = default;
  // Milliseconds since an arbitrary start; never goes back.
  virtual int64_t NowMs() const = 0;
  // Waits on condition (with lock held) until notified or until NowMs() reaches deadline_ms.
  virtual void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                         int64_t deadline_ms) = 0;
};

// The clock in force: the steady clock unless a test installed another one.
Clock& CurrentClock();
// Installs a clock (nullptr restores the steady clock). Not thread-safe: call it before the loop runs.
void InstallClock(std::shared_ptr<Clock> clock);

// Sleeps on the current clock (a manual clock only moves its time forward).
void SleepMs(int64_t ms);

// A clock that stands still until Advance is called. Waiting on it never sleeps: a wait that would
// pass the deadline jumps time to the deadline, so timer tests run instantly and deterministically.
class ManualClock : public Clock {
 public:
  explicit ManualClock(int64_t start_ms = 0) : now_ms_(start_ms) {}
  int64_t NowMs() const override;
  void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                 int64_t deadline_ms) override;
  void Advance(int64_t ms);

 private:
  mutable std::mutex mutex_;
  int64_t now_ms_;
};

}  // namespace marrowleaf::platform
