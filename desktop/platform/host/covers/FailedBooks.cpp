#include "FailedBooks.h"

#include <sys/stat.h>

namespace marrowleaf::platform {

FailedBooks& FailedBooks::Get() {
  static FailedBooks* instance = new FailedBooks();
  return *instance;
}

bool FailedBooks::KeyOf(const std::string& host_path, Key* key) {
  struct stat info;
  if (stat(host_path.c_str(), &info) != 0)
    return false;
  *key = Key(host_path, static_cast<long long>(info.st_size),
             static_cast<long long>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec);
  return true;
}

bool FailedBooks::HasFailed(const std::string& host_path) {
  Key key;
  if (!KeyOf(host_path, &key))
    return false;
  std::lock_guard<std::mutex> lock(mutex_);
  return failed_.count(key) != 0;
}

void FailedBooks::Remember(const std::string& host_path) {
  Key key;
  if (!KeyOf(host_path, &key))
    return;
  std::lock_guard<std::mutex> lock(mutex_);
  if (failed_.size() >= kMaxRemembered)
    failed_.clear();
  failed_.insert(std::move(key));
}

void FailedBooks::Forget() {
  std::lock_guard<std::mutex> lock(mutex_);
  failed_.clear();
}

}  // namespace marrowleaf::platform
