#include "TaskTable.h"

namespace marrowleaf::platform {

int TaskTable::Add(TaskRecord record) {
  std::lock_guard<std::mutex> lock(mutex_);
  record.id = next_id_++;
  const int id = record.id;
  tasks_.emplace(id, std::move(record));
  return id;
}

std::optional<TaskRecord> TaskTable::Get(int id) const {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = tasks_.find(id);
  if (it == tasks_.end())
    return std::nullopt;
  return it->second;
}

std::optional<TaskRecord> TaskTable::Remove(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = tasks_.find(id);
  if (it == tasks_.end())
    return std::nullopt;
  TaskRecord record = std::move(it->second);
  tasks_.erase(it);
  return record;
}

bool TaskTable::MarkHoldingScreen(int id) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto it = tasks_.find(id);
  if (it == tasks_.end() || it->second.holds_screen)
    return false;
  it->second.holds_screen = true;
  return true;
}

int TaskTable::FindByAppName(const std::string& name) const {
  if (name.empty())
    return -1;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [id, task] : tasks_) {
    if (task.app_name == name || task.device_path == name)
      return id;
  }
  return -1;
}

int TaskTable::FindByBook(const std::string& book_path) const {
  if (book_path.empty())
    return -1;
  std::lock_guard<std::mutex> lock(mutex_);
  for (const auto& [id, task] : tasks_) {
    if (task.book_path == book_path)
      return id;
  }
  return -1;
}

std::vector<std::pair<int, pid_t>> TaskTable::Pids() const {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::pair<int, pid_t>> pids;
  pids.reserve(tasks_.size());
  for (const auto& [id, task] : tasks_) pids.emplace_back(id, task.pid);
  return pids;
}

int TaskTable::Count() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return static_cast<int>(tasks_.size());
}

}  // namespace marrowleaf::platform
