#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace marrowleaf::platform {

// One task started by this application: a child process and what it was started for.
struct TaskRecord {
  int id = 0;
  pid_t pid = -1;
  std::string device_path;  // the program, as the device names it
  std::string app_name;     // the program's file name ("reader.app")
  std::string book_path;    // the book it opened, "" for applications
  std::vector<std::string> arguments;  // what it was started with, without the program
  int64_t started_ms = 0;
  bool holds_screen = false;  // it took the screen from the home screen
};

// The running tasks by id. Ids start at 1 and are never reused within a process, so an id kept by a
// caller can't come to name another task later. Safe from any thread.
class TaskTable {
 public:
  // Stores the record under a new id and returns the id.
  int Add(TaskRecord record);
  std::optional<TaskRecord> Get(int id) const;
  std::optional<TaskRecord> Remove(int id);
  // Marks a task as holding the screen; false when it doesn't exist or already held it.
  bool MarkHoldingScreen(int id);

  // The first task (lowest id) whose program file name or full device path is name, else -1.
  int FindByAppName(const std::string& name) const;
  // The first task that has this book open, else -1.
  int FindByBook(const std::string& book_path) const;

  std::vector<std::pair<int, pid_t>> Pids() const;
  int Count() const;

 private:
  mutable std::mutex mutex_;
  std::map<int, TaskRecord> tasks_;
  int next_id_ = 1;
};

}  // namespace marrowleaf::platform
