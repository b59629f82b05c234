#pragma once

#include "views/FrameScreen.h"

namespace marrowleaf::desktop {

// The prompt that asks the reader to connect to Wi-Fi. Its window and layout are in place;
// what it shows and answers is built on this base.
class WiFiDialog : public FrameScreen {
 public:
  WiFiDialog() : FrameScreen("WiFiDialog", "WiFiDialog") {}
};

}  // namespace marrowleaf::desktop
