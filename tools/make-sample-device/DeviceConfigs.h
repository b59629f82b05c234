#pragma once

#include <string>
#include <utility>
#include <vector>

#include "DeviceProfiles.h"

namespace marrowleaf::tools {

// The configuration files of a sample device: the simulator's device profile, the global
// configuration, the theme, the reader style file, the reader table, the table of file types with
// the readers that can open each one, and the store settings.
class DeviceConfigs {
 public:
  // File extension and the device path of the reader that opens it.
  using ReaderEntry = std::pair<std::string, std::string>;
  static const std::vector<ReaderEntry>& Readers();
  // The readers the "Open with" choices name, and the device path of each one's program.
  static const std::vector<ReaderEntry>& Handlers();

  // first_boot leaves the first-run steps of the firmware undone and the store parameters not yet
  // fetched, as on a device fresh from the factory (the home screen then asks to connect to Wi-Fi);
  // otherwise the steps are marked done and the home screen comes up at once.
  static bool Write(const DeviceProfile& profile, bool first_boot, std::string* error);

 private:
  static std::string ProfileText(const DeviceProfile& profile);
  static std::string GlobalText(bool first_boot);
  static std::string ReadersText();
  static std::string FileTypesText();
  static std::string StylesText();
  static std::string StoreText();
  static std::string StoreParametersText(const DeviceProfile& profile);
};

}  // namespace marrowleaf::tools
