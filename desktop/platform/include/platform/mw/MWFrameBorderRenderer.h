#pragma once

#include "platform/mw/MWBorderRenderer.h"

// A frame along the window's edges: `thickness` pixels (negative values are the look's default
// thicknesses, GetDefaultFrameCertifiedThickness), square or with rounded corners, optionally
// dashed. The frame's built-in renderer types are made from it.
class MWFrameBorderRenderer : public MWBorderRenderer {
 public:
  MWFrameBorderRenderer(int thickness, int radius, int color, bool dashed = false)
      : thickness_(thickness), radius_(radius), color_(color), dashed_(dashed) {}

  void Draw(MWGraphics& graphics, MWWindow& window) override;

 private:
  int thickness_;
  int radius_;
  int color_;
  bool dashed_;
};
