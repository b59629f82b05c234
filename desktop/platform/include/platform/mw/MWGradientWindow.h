#pragma once

#include "platform/mw/MWGraphics.h"
#include "platform/mw/MWWindow.h"

// Fades what lies under it into a colour, strongest at one side: the hint at the edge of a list
// that more content lies beyond. Layout attributes: "direction" ("up": strongest at the top, or
// "down"), "color" (default white).
class MWGradientWindow : public MWWindow {
 public:
  MWGradientWindow() { SetClassName("MWGradientWindow"); }

  void SetDirection(MWGradientDirection direction);
  MWGradientDirection GetDirection() const { return direction_; }

  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;
  int OnDraw(MWGraphics& graphics) override;

 private:
  MWGradientDirection direction_ = MW_GRADIENT_DOWN;
  int color_ = MW_COLOR_WHITE;
};
