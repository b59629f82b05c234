#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include "platform/utils/IRunnable.h"
#include "platform/utils/MessageQueue.h"

namespace marrowleaf::utilities {

// One thread that runs queued tasks one after another. Tasks are put at the back (EnqueueTask) or
// at the front (EnqueueTaskFront, for work that has become the most urgent). The queue's lock is
// held only to add or take a task, never while a task runs.
class WorkingThread {
 public:
  using Task = std::shared_ptr<IRunnable>;

  WorkingThread();
  // Stops the thread (see Stop).
  ~WorkingThread();
  WorkingThread(const WorkingThread&) = delete;
  WorkingThread& operator=(const WorkingThread&) = delete;

  // Starts the thread. MW_OK, MW_WRONG_STATE when it runs already, MW_FAILED when it can't start.
  int Run();
  int EnqueueTask(const Task& task);
  int EnqueueTaskFront(const Task& task);
  // True when no task is queued or running.
  bool isIdle() const { return pending_.load() == 0; }
  bool IsRunning() const { return thread_.joinable(); }
  // Lets the running task finish, drops the queued ones and joins the thread. Tasks write their
  // files atomically, so nothing half-written is left behind.
  void Stop();

 private:
  int Enqueue(const Task& task, bool front);
  void Loop();

  MessageQueue<Task> tasks_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  // Queued plus running tasks; the idle test reads it without the queue's lock.
  std::atomic<int> pending_{0};
};

}  // namespace marrowleaf::utilities
