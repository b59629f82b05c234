#pragma once

namespace marrowleaf::desktop {

// The check that may ask the user to connect to Wi-Fi when the home screen first appears.
class WiFiPrompt {
 public:
  virtual ~WiFiPrompt() = default;
  virtual void CheckShowWiFiDialog() = 0;
};

}  // namespace marrowleaf::desktop
