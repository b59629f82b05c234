#pragma once

#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ScreenOwnership.h"
#include "TaskReaper.h"
#include "TaskTable.h"

namespace marrowleaf::platform {

// What to start: a program by device path, its arguments (without argv[0]), the book it opens and
// whether it takes the screen. A service that waits for its helper program to finish gives on_end:
// it is called once with the exit code as the journal's "task_end" gives it (128 + signal for a
// killed task, -1 unknown), on the reaper's thread.
struct TaskStart {
  std::string program;
  std::vector<std::string> arguments;
  std::string book;
  bool takes_screen = false;
  std::function<void(int code)> on_end;
};

// The tasks this application started, as real child processes. It keeps the table, lets the
// reaper notice ended tasks and moves the screen between the home screen and its tasks. Tasks are
// never killed when the application ends: on the device they outlive the home screen. A
// process-wide singleton that is never destroyed, because its reaper thread may still be reporting.
class TaskManager {
 public:
  static TaskManager& Get();

  // Starts a task. Returns its id (> 0) or -1 when the program can't be started.
  int Start(const TaskStart& start);
  // SIGTERM, or SIGKILL when forced. 0 when the task existed.
  int Close(int task, bool force);
  // Brings a task to the front; it then holds the screen until it ends. 0 when the task exists.
  int Activate(int task);

  const TaskTable& Table() const { return table_; }
  const ScreenOwnership& Screen() const { return screen_; }
  // Waits until the task has ended and been reaped; true when it did within timeout_ms.
  bool WaitUntilEnded(int task, int timeout_ms);

 private:
  TaskManager();
  void OnEnded(int task, int status);

  TaskTable table_;
  ScreenOwnership screen_;
  // Keeps a task's place in the table, its hold on the screen and its end callback changing
  // together, so a task that ends while it is being started or activated can't leave the screen
  // held or its callback uncalled.
  std::mutex screen_mutex_;
  std::map<int, std::function<void(int code)>> end_callbacks_;
  std::mutex ended_mutex_;
  std::condition_variable ended_;
  std::unique_ptr<TaskReaper> reaper_;
};

}  // namespace marrowleaf::platform
