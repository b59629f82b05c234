#pragma once

#include "platform/mw/MWBorderRenderer.h"

namespace marrowleaf::desktop {

// The focus border of book tiles on devices without a touch panel: the tile's "BookPostDraw" is
// drawn once more as if the tile were pressed, so the focused tile shows the pressed frame (and
// its corner marks) instead of the framework's plain focus frame. One instance serves every tile.
class AdditionalBookItemFocusBorderRenderer : public MWBorderRenderer {
 public:
  static AdditionalBookItemFocusBorderRenderer& Instance();

  void Draw(MWGraphics& graphics, MWWindow& window) override;
};

}  // namespace marrowleaf::desktop
