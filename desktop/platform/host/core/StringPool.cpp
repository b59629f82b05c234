#include "StringPool.h"

namespace marrowleaf::platform {

StringPool& StringPool::Get() {
  static StringPool* pool = new StringPool();
  return *pool;
}

const char* StringPool::Intern(const std::string& text) {
  StringPool& pool = Get();
  std::lock_guard<std::mutex> lock(pool.mutex_);
  // Elements of an unordered_set never move, so the pointer outlives rehashing.
  return pool.texts_.insert(text).first->c_str();
}

}  // namespace marrowleaf::platform
