#include "views/AdditionalBookItemFocusBorderRenderer.h"

#include "platform/mw/MWGraphics.h"
#include "platform/mw/MWWindow.h"

namespace marrowleaf::desktop {

AdditionalBookItemFocusBorderRenderer& AdditionalBookItemFocusBorderRenderer::Instance() {
  static auto* renderer = new AdditionalBookItemFocusBorderRenderer();
  return *renderer;
}

void AdditionalBookItemFocusBorderRenderer::Draw(MWGraphics& graphics, MWWindow& window) {
  MWWindow* post_draw = window.GetChildByName("BookPostDraw");
  if (post_draw == nullptr || !post_draw->IsVisible())
    return;
  const MWRect origin = graphics.ScreenRect();
  const MWRect clip = graphics.ClipRect().Offset(origin.x, origin.y);
  const bool was_pressed = window.HasExStyle(MWES_PRESSED);
  window.ChangeExStyle(MWES_PRESSED, 0);
  {
    MWGraphics post_graphics(post_draw->ScreenRect(), clip);
    post_draw->OnDraw(post_graphics);
  }
  if (!was_pressed)
    window.ChangeExStyle(0, MWES_PRESSED);
}

}  // namespace marrowleaf::desktop
