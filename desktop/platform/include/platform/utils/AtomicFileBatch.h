#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace marrowleaf::utilities {

// Replaces several files together, with the guarantee of WriteFileAtomically for each of them (a
// power cut leaves every target with its old or its new content, never a mix) at a lower cost:
// each file is flushed once, and each folder once per batch instead of once per file. The
// contents wait in temporary files beside their targets ("<target>.part-XXXXXX"), whose writing
// out starts at once, so that the flushes of Commit mostly wait for work already under way.
// Not thread-safe: its owner serialises the calls.
class AtomicFileBatch {
 public:
  // The marker of the temporary files in their names.
  static constexpr const char* kPartMarker = ".part-";

  AtomicFileBatch() = default;
  // Abandons what was not committed.
  ~AtomicFileBatch();
  AtomicFileBatch(const AtomicFileBatch&) = delete;
  AtomicFileBatch& operator=(const AtomicFileBatch&) = delete;

  // Writes content into a temporary file beside the target (a device path); the target itself
  // is unchanged until Commit. 0 on success, -1 otherwise (nothing is left behind).
  int Add(const std::string& device_path, const std::string& content);
  // Flushes every added file, renames each over its target, then flushes each folder once. When
  // it returns, the new contents survive a power cut. Returns the number of files that could not
  // be committed (their targets are unchanged and their temporary files removed).
  int Commit();
  // Removes the temporary files of everything added since the last commit.
  void Abandon();
  size_t size() const { return files_.size(); }
  // True when a host path is the temporary file of a file added and not yet committed.
  bool HoldsTemporary(const std::string& host_path) const;

 private:
  struct File {
    int fd;
    std::string temp;    // host path
    std::string target;  // host path
  };
  std::vector<File> files_;
};

}  // namespace marrowleaf::utilities
