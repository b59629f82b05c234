#pragma once

class MWWindow;

// Accessibility commands of the screen reader's gestures, delivered to the focused window's
// handlers (MWWindow::Accessibility*CommandHandler) by MWAppFrame::DispatchAccessibilityCommand.
enum MWAccessibilityCommand : int {
  MW_ACCESSIBILITY_NEXT = 1,           // navigate: the next window
  MW_ACCESSIBILITY_PREVIOUS = 2,       // navigate: the previous window
  MW_ACCESSIBILITY_OPEN = 4,           // open what has the focus
  MW_ACCESSIBILITY_MENU = 5,           // its context menu
  MW_ACCESSIBILITY_SLIDE_BACK = 7,     // slider gesture backwards
  MW_ACCESSIBILITY_SLIDE_FORWARD = 8,  // slider gesture forwards
};

// Moves the accessibility focus among the focusable windows of a container in reading order (tree
// order: top to bottom as the layout lists them).
class MWAccessibilityNavigation {
 public:
  // The window after (MW_ACCESSIBILITY_NEXT) or before (MW_ACCESSIBILITY_PREVIOUS) the focused
  // one inside root, wrapping around; the first (last) one when the focus is elsewhere. nullptr for
  // other commands or when root has no focusable window.
  static MWWindow* navigate(int command, MWWindow* root);
};
