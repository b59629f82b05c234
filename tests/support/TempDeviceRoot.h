#pragma once

#include <string>

namespace marrowleaf::test {

// A fresh, empty device root for one test: a temporary folder made the SDK's MARROWLEAF_ROOT for the
// test's life, removed afterwards. Paths given to the helpers are device paths ("/mnt/ext1/...").
class TempDeviceRoot {
 public:
  TempDeviceRoot();
  ~TempDeviceRoot();
  TempDeviceRoot(const TempDeviceRoot&) = delete;
  TempDeviceRoot& operator=(const TempDeviceRoot&) = delete;

  const std::string& HostRoot() const { return root_; }
  std::string Host(const std::string& device_path) const { return root_ + device_path; }

  // Writes a file, creating its folders.
  void Write(const std::string& device_path, const std::string& content) const;
  std::string Read(const std::string& device_path) const;
  bool Exists(const std::string& device_path) const;
  void MakeFolder(const std::string& device_path) const;

 private:
  std::string root_;
  std::string previous_root_;
  bool had_previous_root_ = false;
};

}  // namespace marrowleaf::test
