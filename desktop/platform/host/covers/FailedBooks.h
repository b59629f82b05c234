#pragma once

#include <mutex>
#include <set>
#include <string>
#include <tuple>

namespace marrowleaf::platform {

// Books that gave no cover, remembered with their size and change time, so that a damaged or
// hostile book costs its time budget once and not at every request. A book that changes on disk
// is tried again.
class FailedBooks {
 public:
  static FailedBooks& Get();
  bool HasFailed(const std::string& host_path);
  void Remember(const std::string& host_path);
  void Forget();

 private:
  using Key = std::tuple<std::string, long long, long long>;
  static bool KeyOf(const std::string& host_path, Key* key);
  static constexpr size_t kMaxRemembered = 4096;

  std::mutex mutex_;
  std::set<Key> failed_;
};

}  // namespace marrowleaf::platform
