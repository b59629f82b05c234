#include "DeviceProfiles.h"

namespace marrowleaf::tools {

namespace {

// What tells the profiles apart; the other keys are the same on every sample device.
struct Hardware {
  const char* name;
  const char* model;
  int width;
  int height;
  int dpi;
  bool touch;
  bool color;
  bool wifi;
  bool audio;
  int device_number;
  int panel_height;
};

// The key-only model is an older one without Wi-Fi, so the sample devices also cover the start-up
// path that removes the network applications.
constexpr Hardware kHardware[] = {
    {"6in-758", "Marrowleaf Lumen 6", 758, 1024, 212, true, false, true, false, 628, 32},
    {"6in-1072", "Marrowleaf Verso 6", 1072, 1448, 300, true, false, true, true, 634, 44},
    {"7.8in-color", "Marrowleaf Chroma 7.8", 1404, 1872, 300, true, true, true, true, 743, 58},
    {"6in-keys", "Marrowleaf Basic 6", 758, 1024, 212, false, false, false, false, 606, 32},
};

std::string Flag(bool value) {
  return value ? "1" : "0";
}

DeviceProfile MakeProfile(const Hardware& hardware) {
  const std::string number = std::to_string(hardware.device_number);
  DeviceProfile profile;
  profile.name = hardware.name;
  profile.entries = {
      {"screen_width", std::to_string(hardware.width)},
      {"screen_height", std::to_string(hardware.height)},
      {"dpi", std::to_string(hardware.dpi)},
      {"touch", Flag(hardware.touch)},
      {"color", Flag(hardware.color)},
      {"wifi", Flag(hardware.wifi)},
      {"audio", Flag(hardware.audio)},
      {"device_number", number},
      {"model", hardware.model},
      {"serial", "ML" + number + "0000001"},
      {"partner", "0"},
      {"partner_name", ""},
      // The firmware update header holds at most 12 characters of version.
      {"software_version", "M" + number + ".6.8.1"},
      {"profile", ""},
      // A device with Wi-Fi starts connected, so the store blocks have something to show.
      {"network", Flag(hardware.wifi)},
      {"safe_mode", "0"},
      {"panel_height", std::to_string(hardware.panel_height)},
  };
  return profile;
}

std::vector<DeviceProfile> MakeAll() {
  std::vector<DeviceProfile> profiles;
  for (const Hardware& hardware : kHardware) profiles.push_back(MakeProfile(hardware));
  return profiles;
}

}  // namespace

const std::vector<DeviceProfile>& DeviceProfiles::All() {
  static const std::vector<DeviceProfile> profiles = MakeAll();
  return profiles;
}

const DeviceProfile* DeviceProfiles::Find(const std::string& name) {
  for (const DeviceProfile& profile : All()) {
    if (profile.name == name)
      return &profile;
  }
  return nullptr;
}

std::string DeviceProfiles::Names() {
  std::string names;
  for (const DeviceProfile& profile : All()) {
    if (!names.empty())
      names += ", ";
    names += profile.name;
  }
  return names;
}

}  // namespace marrowleaf::tools
