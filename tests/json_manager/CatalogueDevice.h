// A temporary device for the applications catalogue's tests: a device profile, the catalogue's JSON
// files and the programs they name, all as real files under a temporary device root.
#pragma once

#include <string>

#include "platform/sdk/device.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {

class CatalogueDevice {
 public:
  static constexpr const char* kDatabase = "/ebrmain/config/desktop/apps_db.json";
  static constexpr const char* kShippedView = "/ebrmain/config/desktop/view.json";
  static constexpr const char* kUserView = "/mnt/ext1/system/config/desktop/view.json";
  static constexpr const char* kHashRecord = "/mnt/ext1/system/config/desktop/hash.txt";
  static constexpr const char* kGlobalConfig = "/mnt/ext1/system/config/global.cfg";

  CatalogueDevice() {
    root_.MakeFolder("/mnt/ext1/system/config/desktop");
    Profile("");
  }

  // Key-value lines of the device profile, read again at once.
  void Profile(const std::string& lines) const {
    root_.Write("/.sim/device.cfg", lines);
    ReloadDeviceProfile();
  }
  // A database whose "applications" object is the given JSON text.
  void Database(const std::string& applications) const {
    root_.Write(kDatabase, "{\"version\": 1, \"applications\": " + applications + "}");
  }
  // A view document with the given "applications" and "groups" texts and version.
  static std::string View(const std::string& applications, const std::string& groups,
                          int version = 1) {
    return "{\"version\": " + std::to_string(version) + ", \"applications\": " + applications +
           ", \"view\": {\"groups\": " + groups + "}}";
  }
  void ShippedView(const std::string& text) const { root_.Write(kShippedView, text); }
  void UserView(const std::string& text) const { root_.Write(kUserView, text); }
  // Both view files alike, so no copy happens.
  void Views(const std::string& text) const {
    ShippedView(text);
    UserView(text);
  }
  void Program(const std::string& device_path) const { root_.Write(device_path, "program"); }
  void Global(const std::string& lines) const { root_.Write(kGlobalConfig, lines); }

  const TempDeviceRoot& Root() const { return root_; }

 private:
  TempDeviceRoot root_;
};

}  // namespace marrowleaf::test
