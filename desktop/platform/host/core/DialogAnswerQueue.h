#pragma once

#include <deque>
#include <mutex>
#include <optional>

namespace marrowleaf::platform {

// The answers waiting for the next modal dialogs, in order. The script driver queues them ("answer
// N") and each dialog takes the oldest one. Safe from any thread.
class DialogAnswerQueue {
 public:
  static constexpr size_t kMaxQueued = 64;

  static DialogAnswerQueue& Get();

  // Returns false when the queue is full and the answer was dropped.
  bool Push(int button);
  std::optional<int> Pop();
  void Clear();
  size_t Size() const;

 private:
  DialogAnswerQueue() = default;

  mutable std::mutex mutex_;
  std::deque<int> answers_;
};

}  // namespace marrowleaf::platform
