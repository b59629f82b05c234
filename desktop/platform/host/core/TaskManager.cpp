#include "TaskManager.h"

#include <signal.h>
#include <sys/wait.h>

#include <chrono>

#include "Journal.h"
#include "ProcessLauncher.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {

namespace {

std::string FileName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The exit code of a normal end, 128 + signal for a killed task (as a shell reports it), -1
// unknown.
int ExitCode(int status) {
  if (status < 0)
    return -1;
  if (WIFEXITED(status))
    return WEXITSTATUS(status);
  if (WIFSIGNALED(status))
    return 128 + WTERMSIG(status);
  return -1;
}

}  // namespace

TaskManager& TaskManager::Get() {
  static TaskManager* instance = new TaskManager();
  return *instance;
}

TaskManager::TaskManager()
    : reaper_(std::make_unique<TaskReaper>(
          table_, [this](int task, int status) { OnEnded(task, status); })) {}

int TaskManager::Start(const TaskStart& start) {
  const pid_t pid = ProcessLauncher::Spawn(start.program, start.arguments);
  if (pid < 0)
    return -1;
  TaskRecord record;
  record.pid = pid;
  record.device_path = start.program;
  record.app_name = FileName(start.program);
  record.book_path = start.book;
  record.arguments = start.arguments;
  record.started_ms = CurrentClock().NowMs();
  record.holds_screen = start.takes_screen;
  int task;
  {
    std::lock_guard<std::mutex> lock(screen_mutex_);
    task = table_.Add(std::move(record));
    if (start.takes_screen)
      screen_.Acquire(task);
    if (start.on_end)
      end_callbacks_[task] = start.on_end;
  }
  reaper_->Wake();
  MW_LOGM("Tasks", MW_LOG_INFO, "task %d: %s (pid %d)", task, start.program.c_str(),
          static_cast<int>(pid));
  return task;
}

int TaskManager::Close(int task, bool force) {
  const auto record = table_.Get(task);
  MW_RETURN_IF(!record, -1, "no task %d", task);
  kill(record->pid, force ? SIGKILL : SIGTERM);
  return 0;
}

int TaskManager::Activate(int task) {
  std::lock_guard<std::mutex> lock(screen_mutex_);
  if (!table_.Get(task))
    return -1;
  if (table_.MarkHoldingScreen(task))
    screen_.Acquire(task);
  return 0;
}

void TaskManager::OnEnded(int task, int status) {
  std::optional<TaskRecord> record;
  std::function<void(int code)> on_end;
  {
    std::lock_guard<std::mutex> lock(screen_mutex_);
    record = table_.Remove(task);
    if (record && record->holds_screen)
      screen_.Release();
    auto callback = end_callbacks_.find(task);
    if (callback != end_callbacks_.end()) {
      on_end = std::move(callback->second);
      end_callbacks_.erase(callback);
    }
  }
  if (!record)
    return;
  Json::Value fields;
  fields["task"] = task;
  fields["path"] = record->device_path;
  fields["code"] = ExitCode(status);
  Journal::Append("task_end", fields);
  if (on_end)
    on_end(ExitCode(status));
  { std::lock_guard<std::mutex> lock(ended_mutex_); }
  ended_.notify_all();
}

bool TaskManager::WaitUntilEnded(int task, int timeout_ms) {
  std::unique_lock<std::mutex> lock(ended_mutex_);
  return ended_.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                         [&] { return !table_.Get(task).has_value(); });
}

}  // namespace marrowleaf::platform
