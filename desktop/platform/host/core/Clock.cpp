#include "platform/sdk/clock.h"

#include <atomic>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

namespace marrowleaf::platform {
namespace {

class SteadyClock : public Clock {
 public:
  int64_t NowMs() const override {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
  }
  void WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& condition,
                 int64_t deadline_ms) override {
    if (deadline_ms == std::numeric_limits<int64_t>::max()) {
      condition.wait(lock);
      return;
    }
    condition.wait_until(lock, std::chrono::steady_clock::time_point(
                                   std::chrono::milliseconds(deadline_ms)));
  }
};

// The clock in use, read by any thread (task reapers, workers) while a test may install another.
// Every clock ever installed is kept, never destroyed: a thread that took the previous one may
// still be reading it, also while the process ends. Tests install a handful; the program none.
struct ClockSlot {
  std::mutex mutex;
  std::vector<std::shared_ptr<Clock>> installed;
  std::atomic<Clock*> current{nullptr};
};

ClockSlot& Slot() {
  static auto* slot = [] {
    auto* made = new ClockSlot();
    made->installed.push_back(std::make_shared<SteadyClock>());
    made->current.store(made->installed.back().get());
    return made;
  }();
  return *slot;
}

}  // namespace

Clock& CurrentClock() { return *Slot().current.load(); }

void InstallClock(std::shared_ptr<Clock> clock) {
  ClockSlot& slot = Slot();
  std::lock_guard<std::mutex> lock(slot.mutex);
  if (!clock)
    clock = slot.installed.front();  // the steady clock
  else
    slot.installed.push_back(clock);
  slot.current.store(clock.get());
}

int64_t ManualClock::NowMs() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return now_ms_;
}

void ManualClock::WaitUntil(std::unique_lock<std::mutex>& lock,
                            std::condition_variable& condition, int64_t deadline_ms) {
  if (deadline_ms == std::numeric_limits<int64_t>::max()) {
    condition.wait(lock);
    return;
  }
  std::lock_guard<std::mutex> guard(mutex_);
  if (deadline_ms > now_ms_) now_ms_ = deadline_ms;
}

void ManualClock::Advance(int64_t ms) {
  std::lock_guard<std::mutex> lock(mutex_);
  now_ms_ += ms;
}

}  // namespace marrowleaf::platform

namespace marrowleaf::platform {

void SleepMs(int64_t ms) {
  std::mutex mutex;
  std::condition_variable never_notified;
  std::unique_lock<std::mutex> lock(mutex);
  Clock& clock = CurrentClock();
  const int64_t deadline = clock.NowMs() + ms;
  while (clock.NowMs() < deadline) clock.WaitUntil(lock, never_notified, deadline);
}

}  // namespace marrowleaf::platform
