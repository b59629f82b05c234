#pragma once

#include "platform/mw/MWWindow.h"

// A window that holds other windows (a screen, a panel of a screen, a menu). It moves the key focus
// among its focusable descendants with the arrow keys when no child handled the key, and finds the
// focusable window nearest to a point.
class MWDialog : public MWWindow {
 public:
  MWDialog() { SetClassName("MWDialog"); }

  // The shown, focusable descendant nearest to (x, y) in this window's coordinates; nullptr when
  // there is none. A window that contains the point is nearest of all.
  MWWindow* FindNearestWindow(int x, int y) const;
  // The shown, focusable descendant next to `from` in the direction of an arrow key (KEY_UP,
  // KEY_DOWN, KEY_LEFT, KEY_RIGHT); nullptr when nothing lies that way.
  MWWindow* FindNearestWindowInDirection(const MWWindow* from, int key) const;

  int MainHandler(int type, int par1, int par2) override;

 private:
  void CollectFocusable(const MWWindow* window, std::vector<MWWindow*>* out) const;
};
