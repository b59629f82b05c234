#include "KeyBindings.h"

#include <map>

#include "platform/sdk/events.h"

namespace marrowleaf::platform {

KeyBindings::Binding KeyBindings::ForKeyName(const std::string& name) {
  static const std::map<std::string, int> device_keys = {
      {"Up", KEY_UP},          {"Down", KEY_DOWN},      {"Left", KEY_LEFT},
      {"Right", KEY_RIGHT},    {"Return", KEY_OK},      {"Keypad Enter", KEY_OK},
      {"Escape", KEY_BACK},    {"Backspace", KEY_BACK}, {"Home", KEY_HOME},
      {"PageUp", KEY_PREV},    {"PageDown", KEY_NEXT},  {"Menu", KEY_MENU},
      {"F10", KEY_MENU},       {"Delete", KEY_DELETE},  {"=", KEY_PLUS},
      {"+", KEY_PLUS},         {"Keypad +", KEY_PLUS},  {"-", KEY_MINUS},
      {"Keypad -", KEY_MINUS}, {"[", KEY_PREV2},        {"]", KEY_NEXT2},
  };
  if (name == "F12")
    return {Action::kScreenshot, -1};
  auto it = device_keys.find(name);
  if (it == device_keys.end())
    return {};
  return {Action::kDeviceKey, it->second};
}

}  // namespace marrowleaf::platform
