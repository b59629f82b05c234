#include "support/TempDeviceRoot.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/sdk/files.h"

namespace marrowleaf::test {

TempDeviceRoot::TempDeviceRoot() {
  const char* previous = std::getenv("MARROWLEAF_ROOT");
  had_previous_root_ = previous != nullptr;
  if (previous) previous_root_ = previous;
  std::string pattern = (std::filesystem::temp_directory_path() / "marrowleaf-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  setenv("MARROWLEAF_ROOT", root_.c_str(), 1);
  ReloadDeviceRoot();
  MakeFolder("/.sim");
  MakeFolder("/tmp");
}

TempDeviceRoot::~TempDeviceRoot() {
  std::error_code ignored;
  std::filesystem::remove_all(root_, ignored);
  if (had_previous_root_) {
    setenv("MARROWLEAF_ROOT", previous_root_.c_str(), 1);
  } else {
    unsetenv("MARROWLEAF_ROOT");
  }
  ReloadDeviceRoot();
}

void TempDeviceRoot::Write(const std::string& device_path, const std::string& content) const {
  std::filesystem::path path(Host(device_path));
  std::filesystem::create_directories(path.parent_path());
  // A new file, not the old one cut: the programs of a copied sample device are hard links
  // shared with other devices.
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
}

std::string TempDeviceRoot::Read(const std::string& device_path) const {
  std::ifstream in(Host(device_path), std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

bool TempDeviceRoot::Exists(const std::string& device_path) const {
  return std::filesystem::exists(Host(device_path));
}

void TempDeviceRoot::MakeFolder(const std::string& device_path) const {
  std::filesystem::create_directories(Host(device_path));
}

}  // namespace marrowleaf::test
