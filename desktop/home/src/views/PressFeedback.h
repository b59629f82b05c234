#pragma once

class MWWindow;

namespace marrowleaf::desktop {

// The quick black-and-white flash that tells the reader their press was taken: the window is drawn
// once in its pressed style and shown at once with a fast update, then marked to be drawn normally
// in the next redraw pass.
class PressFeedback {
 public:
  static void Flash(MWWindow& window);
};

}  // namespace marrowleaf::desktop
