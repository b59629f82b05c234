#pragma once

#include <cstdint>
#include <ctime>
#include <functional>

#include "controllers/WiFiPrompt.h"

namespace marrowleaf::desktop {

class Controller;

// Whether to ask the reader to connect to Wi-Fi when the home screen comes to the front: only on a
// device not yet set up for the store (no "/mnt/secure/download_device_param.cfg"), at most once in
// 14 days (the time of the last prompt is "ask_connect_ts" of the global configuration, read once
// per process and rewritten at every prompt), and only over the home screen itself: a prompt over
// an open menu or grid would leave that screen stranded under it.
class WiFiPromptCheck : public WiFiPrompt {
 public:
  static constexpr int64_t kIntervalSeconds = 1209600;  // 14 days

  explicit WiFiPromptCheck(Controller& controller, std::function<time_t()> clock = nullptr)
      : controller_(controller), clock_(std::move(clock)) {}

  void CheckShowWiFiDialog() override;
  // The time of the last prompt as this process knows it; -1 before it was read.
  int64_t LastPrompt() const { return ask_connect_ts_; }

 private:
  time_t Now() const { return clock_ ? clock_() : std::time(nullptr); }

  Controller& controller_;
  std::function<time_t()> clock_;
  int64_t ask_connect_ts_ = -1;
};

}  // namespace marrowleaf::desktop
