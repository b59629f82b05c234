#pragma once

class MWWindow;

namespace marrowleaf::desktop {

// The key focus of a window that comes over the screen for a while (a menu, a prompt): it takes the
// focus when shown and gives it back, when hidden, to the window that had it, so that the reader
// goes on where they were (the tile whose menu they opened, for instance).
class FocusReturn {
 public:
  // Gives `target` the focus and remembers who had it, unless that was a window inside `owner`.
  void Take(MWWindow& owner, MWWindow& target);
  // Gives the focus back when the window that had it is still there.
  void GiveBack();

  // True when the reader moves a focus over the screen (a device without a touch panel, or the
  // screen reader on); with a touch panel nothing is shown focused.
  static bool FocusIsShown();

 private:
  MWWindow* previous_ = nullptr;
};

}  // namespace marrowleaf::desktop
