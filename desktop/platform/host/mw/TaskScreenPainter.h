#pragma once

namespace marrowleaf::platform {

// The screen of a task that took the screen from the application, as the simulator shows it: the
// device's other programs are stand-ins without a screen of their own, so the simulator draws one
// for them into the framebuffer: the program's name, the book it opened (its file name and path)
// or the arguments it got. While a task holds the screen the application's frame draws nothing;
// when the screen comes back the frame draws itself whole again (MWAppFrame).
class TaskScreenPainter {
 public:
  // Draws the screen of the task in front and shows it with a full update. False when no task of
  // this application holds the screen.
  static bool PaintTaskInFront();
  // True while a task of this application holds the screen.
  static bool TaskInFront();
};

}  // namespace marrowleaf::platform
