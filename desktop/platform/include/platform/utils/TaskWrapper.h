#pragma once

#include <memory>
#include <type_traits>
#include <utility>

#include "platform/utils/IRunnable.h"

namespace marrowleaf::utilities {

// Runs a callable that was bound to all of its arguments. The callable is owned by the task, so
// whatever it captured travels with it from one thread to the other.
template <typename Callable>
class TaskWrapper : public IRunnable {
 public:
  explicit TaskWrapper(Callable callable) : callable_(std::move(callable)) {}
  void Run() override { callable_(); }

 private:
  Callable callable_;
};

// Wraps a bound callable (a lambda or a std::bind result taking no arguments) into a shared task.
template <typename Callable>
std::shared_ptr<IRunnable> WrapTask(Callable&& callable) {
  return std::make_shared<TaskWrapper<std::decay_t<Callable>>>(std::forward<Callable>(callable));
}

}  // namespace marrowleaf::utilities
