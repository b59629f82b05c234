#pragma once

#include <string>

namespace marrowleaf::platform {

// What a key of the PC's keyboard means to the simulated device. Keys are named as the window
// library names them ("Up", "Return", "PageDown", "F12"), so the table is readable and testable
// without a window:
//   arrows            the device's arrow keys
//   Return, Enter     OK
//   Escape, Backspace back
//   Home              home
//   PageUp, PageDown  previous and next page
//   Menu, F10         menu
//   Delete            delete
//   =, +, -           plus and minus (also on the keypad)
//   F12               a screenshot into <root>/.sim/ (not a device key)
class KeyBindings {
 public:
  enum class Action { kNone, kDeviceKey, kScreenshot };
  struct Binding {
    Action action = Action::kNone;
    int device_key = -1;
  };

  static Binding ForKeyName(const std::string& name);
};

}  // namespace marrowleaf::platform
