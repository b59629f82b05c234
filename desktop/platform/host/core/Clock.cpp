#include "platform/sdk/clock.h"

#include <limits>

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

// Never destroyed: threads that outlive main (task reapers, workers) may still read the clock while
// the process ends.
std::shared_ptr<Clock>& ClockSlot() {
  static auto* clock = new std::shared_ptr<Clock>(std::make_shared<SteadyClock>());
  return *clock;
}

}  // namespace

Clock& CurrentClock() { return *ClockSlot(); }

void InstallClock(std::shared_ptr<Clock> clock) {
  ClockSlot() = clock ? std::move(clock) : std::make_shared<SteadyClock>();
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
