#pragma once

#include <string>

class MWWindow;

namespace marrowleaf::platform {

// What the screen shows, as data: every shown window under a root, depth first, with its class,
// name, path of names from the root, screen rectangle, whether it has the focus or is pressed, the
// text of labels and buttons and whether a picture shows. Tests read the screen through it (the
// script's "windows FILE").
class WindowList {
 public:
  // A JSON array, one object a window, and last the panel (class "Panel"), focused or not.
  static std::string Describe(const MWWindow& root);
};

}  // namespace marrowleaf::platform
