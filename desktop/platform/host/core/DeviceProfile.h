#pragma once

#include <string>

namespace marrowleaf::platform {

// What the hardware would tell, read from the device profile "<root>/.sim/device.cfg" (key-value
// syntax). Keys: screen_width, screen_height, dpi, touch, color, wifi, audio, device_number, model,
// serial, partner, partner_name, software_version, profile, network, safe_mode, panel_height,
// flight_mode, frontlight, storage_full (1: the internal storage /mnt/ext1 has no room left, so
// every file written there fails as on a full card). Missing keys take the values of the default 6" 1072x1448 touch profile
// (panel_height: 4% of the screen height). Written back (atomically) when the program changes a
// fact the device would remember (the current profile, flight mode, front light). Read again
// whenever the device root changes, so tests that switch roots see their own profile.
class DeviceProfile {
 public:
  static DeviceProfile& Get();

  int Int(const std::string& key) const;
  std::string String(const std::string& key) const;
  void SetString(const std::string& key, const std::string& value);
  void Reload();

 private:
  DeviceProfile();
  // The text of key (file, else default); "" for an unknown key. Called with the mutex held.
  std::string Lookup(const std::string& key) const;
  // Reads the file again when the device root is not the one it was read from.
  void RefreshForRoot() const;
  void Load() const;

  struct Impl;
  Impl* impl_;
};

}  // namespace marrowleaf::platform
