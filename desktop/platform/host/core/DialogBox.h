#pragma once

#include <string>
#include <vector>

#include "platform/mw/MWRect.h"

namespace marrowleaf::platform {

// A box the system shows over the application: a message that closes by itself, or a modal
// dialog with buttons. Its place on the screen is set by the display, which alone can measure
// texts; until then the rectangles are empty.
struct DialogBox {
  enum class Kind { kMessage, kDialog };

  int id = 0;
  Kind kind = Kind::kMessage;
  int icon = 0;
  std::string title;
  std::string text;
  std::vector<std::string> buttons;
  // The button (0-based) the keys act on, and the one a finger holds down (-1: none).
  int focused = 0;
  int pressed = -1;
  // Screen rectangles of the box and of each button.
  MWRect rect;
  std::vector<MWRect> button_rects;
};

}  // namespace marrowleaf::platform
