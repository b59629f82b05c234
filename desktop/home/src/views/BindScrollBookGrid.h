#pragma once

#include "platform/mw/BindScrollGrid.h"

class MWGradientWindow;

namespace marrowleaf::desktop {

// The scrolling grid of book tiles of the add-books view. Its children "up_gradient" and
// "down_gradient" (gradient windows) are not drawn as windows: they give the place and direction of
// the fades the grid paints over its top and bottom edges while content lies beyond them, the hint
// that the grid scrolls.
class BindScrollBookGrid : public BindScrollGrid {
 public:
  BindScrollBookGrid() { SetClassName("BindScrollBookGrid"); }

  // True while rows lie above (below) the visible part.
  bool ContentAbove() const;
  bool ContentBelow() const;

  void OnLayoutLoaded() override;
  void DrawStaticElements(MWGraphics& graphics) override;

 private:
  void PaintFade(MWGraphics& graphics, const MWGradientWindow* gradient) const;

  MWGradientWindow* up_gradient_ = nullptr;
  MWGradientWindow* down_gradient_ = nullptr;
};

}  // namespace marrowleaf::desktop
