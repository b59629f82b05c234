#include "TaskReaper.h"

#include <sys/wait.h>

#include <cerrno>
#include <chrono>

namespace marrowleaf::platform {

TaskReaper::TaskReaper(const TaskTable& table, EndCallback on_end)
    : table_(table), on_end_(std::move(on_end)), thread_([this] { Run(); }) {}

TaskReaper::~TaskReaper() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void TaskReaper::Wake() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    woken_ = true;
  }
  wake_.notify_all();
}

void TaskReaper::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stop_) {
    // Reaping runs on real time, not on the replaceable clock: processes end in real time.
    if (table_.Count() == 0) {
      wake_.wait(lock, [this] { return woken_ || stop_; });
    } else {
      wake_.wait_for(lock, std::chrono::milliseconds(kPollMs), [this] { return woken_ || stop_; });
    }
    woken_ = false;
    if (stop_)
      break;
    lock.unlock();
    ReapEnded();
    lock.lock();
  }
}

void TaskReaper::ReapEnded() {
  for (const auto& [task, pid] : table_.Pids()) {
    int status = 0;
    const pid_t result = waitpid(pid, &status, WNOHANG);
    // ECHILD: someone else reaped it (or SIGCHLD is ignored); it has ended all the same.
    if (result == pid) {
      on_end_(task, status);
    } else if (result < 0 && errno == ECHILD) {
      on_end_(task, -1);
    }
  }
}

}  // namespace marrowleaf::platform
