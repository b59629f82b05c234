#include "platform/mw/MWFrameBorderRenderer.h"

#include <algorithm>

#include "platform/mw/MWGraphics.h"
#include "platform/mw/MWWindow.h"

void MWFrameBorderRenderer::Draw(MWGraphics& graphics, MWWindow& window) {
  const MWRect rect{0, 0, window.Width(), window.Height()};
  const int thickness = GetDefaultFrameCertifiedThickness(thickness_);
  if (dashed_) {
    // Dashes scale with the window so a small and a large tile look alike.
    const int dash = std::max(2, window.Height() / 50);
    graphics.DrawDashedFrame(rect, dash, dash, color_, thickness);
    return;
  }
  graphics.DrawFrame(rect, thickness, color_, radius_);
}
