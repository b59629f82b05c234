#pragma once

class MWGraphics;
class MWWindow;

// Draws a border over a window after the window and its children were drawn: the frame around a
// focused tile, a pressed button's outline. The graphics has the window's origin and clip. A
// renderer is shared by many windows and owned by whoever made it (the frame owns the built-in
// ones, GetRendererByType).
class MWBorderRenderer {
 public:
  virtual ~MWBorderRenderer() = default;
  virtual void Draw(MWGraphics& graphics, MWWindow& window) = 0;
};
