#pragma once

#include <mutex>
#include <string>
#include <unordered_set>

namespace marrowleaf::platform {

// Keeps one copy of each text handed out through the SDK's `const char*` results, for the life of
// the process, so a pointer stays valid whatever is reloaded later and on whichever thread it is
// read. The texts are few and short (device facts, theme values, language texts), so nothing is
// ever released.
class StringPool {
 public:
  static const char* Intern(const std::string& text);

 private:
  static StringPool& Get();
  std::mutex mutex_;
  std::unordered_set<std::string> texts_;
};

}  // namespace marrowleaf::platform
