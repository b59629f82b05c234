#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "TaskTable.h"

namespace marrowleaf::platform {

// Notices the tasks of a table that have ended. A thread polls each task's own pid with
// waitpid(WNOHANG): it never waits for "any child", so processes that other parts of the program
// start and wait for are left alone, and it needs no SIGCHLD handler. While no task runs the thread
// sleeps until Wake.
class TaskReaper {
 public:
  // on_end(task id, wait status or -1 when the status is lost) runs on the reaper's thread after
  // the task has been reaped; the task is still in the table then, and the callback removes it.
  using EndCallback = std::function<void(int task, int status)>;

  TaskReaper(const TaskTable& table, EndCallback on_end);
  ~TaskReaper();
  TaskReaper(const TaskReaper&) = delete;
  TaskReaper& operator=(const TaskReaper&) = delete;

  // A task was added: start polling.
  void Wake();

 private:
  static constexpr int kPollMs = 20;

  void Run();
  void ReapEnded();

  const TaskTable& table_;
  EndCallback on_end_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool woken_ = false;
  bool stop_ = false;
  std::thread thread_;
};

}  // namespace marrowleaf::platform
