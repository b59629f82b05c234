#include "DialogAnswerQueue.h"

namespace marrowleaf::platform {

DialogAnswerQueue& DialogAnswerQueue::Get() {
  // Never destroyed: threads that outlive main (task reapers, workers) may still use it.
  static auto* instance = new DialogAnswerQueue();
  return *instance;
}

bool DialogAnswerQueue::Push(int button) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (answers_.size() >= kMaxQueued)
    return false;
  answers_.push_back(button);
  return true;
}

std::optional<int> DialogAnswerQueue::Pop() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (answers_.empty())
    return std::nullopt;
  const int answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void DialogAnswerQueue::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  answers_.clear();
}

size_t DialogAnswerQueue::Size() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return answers_.size();
}

}  // namespace marrowleaf::platform
