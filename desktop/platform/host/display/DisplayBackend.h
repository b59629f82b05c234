#pragma once

#include "PixelImage.h"
#include "ScreenState.h"

namespace marrowleaf::platform {

// Where the panel's picture goes: nowhere but memory (headless) or a window on the PC. The display
// hands each update over already converted to the e-ink look; Show returns when the update is on
// screen, as the device's update call does.
class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;

  // False when the back-end can't run here (no window system): the display then runs headless.
  virtual bool Start(int width, int height) = 0;
  // Shows `area`, whose top left corner is (x, y) on the screen.
  virtual void Show(UpdateKind kind, const PixelImage& area, int x, int y) = 0;
  // False for a back-end that shows nothing itself: the display then keeps no copy of what the
  // panel shows and never assembles an updated area, each of which costs a screen's worth of
  // memory; screenshots read the framebuffer.
  virtual bool WantsPixels() const { return true; }
  // True when a person can use the screen, so a run without a script waits for them.
  virtual bool Interactive() const = 0;
  virtual void Stop() = 0;
};

}  // namespace marrowleaf::platform
