#pragma once

#include <string>

class MWWindow;

namespace marrowleaf::platform {

// What the screen shows, as data: every shown window under a root, depth first, with its class,
// name, path of names from the root, screen rectangle, whether it has the focus or is pressed, the
// text of labels and buttons and whether a picture shows. Over them the boxes of the system: a
// message (class "Message", name "message") or a dialog (class "Dialog", name "dialog") with its
// icon, title, text and button captions, each dialog button then as an entry of its own (class
// "DialogButton", path "dialog/button1", ...) with its rectangle, caption and focus. While a
// dialog is open the key focus is on its buttons only. Tests read the screen through it (the
// script's "windows FILE").
class WindowList {
 public:
  // A JSON array, one object a window or box, and last the panel (class "Panel"), focused or not.
  static std::string Describe(const MWWindow& root);
};

}  // namespace marrowleaf::platform
