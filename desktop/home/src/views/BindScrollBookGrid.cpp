#include "views/BindScrollBookGrid.h"

#include "platform/mw/MWGradientWindow.h"
#include "platform/mw/MWGraphics.h"

namespace marrowleaf::desktop {

void BindScrollBookGrid::OnLayoutLoaded() {
  BindScrollGrid::OnLayoutLoaded();
  up_gradient_ = GetChildByName<MWGradientWindow>("up_gradient");
  down_gradient_ = GetChildByName<MWGradientWindow>("down_gradient");
  if (up_gradient_ != nullptr)
    up_gradient_->Hide();
  if (down_gradient_ != nullptr)
    down_gradient_->Hide();
  ChangeWindowStyle(MWS_STATIC_ELEMENTS, 0);
}

bool BindScrollBookGrid::ContentAbove() const {
  return VisibleRect().y > 0;
}

bool BindScrollBookGrid::ContentBelow() const {
  const MWRect visible = VisibleRect();
  return visible.Bottom() < GetItemHeight() * GetRowCount();
}

void BindScrollBookGrid::DrawStaticElements(MWGraphics& graphics) {
  if (ContentAbove())
    PaintFade(graphics, up_gradient_);
  if (ContentBelow())
    PaintFade(graphics, down_gradient_);
}

// The gradient windows lie in the grid's content, which scrolls; the fade stays at the edge of the
// visible part, so it is painted at the window's place as the layout put it, counted from the
// grid's top or bottom.
void BindScrollBookGrid::PaintFade(MWGraphics& graphics, const MWGradientWindow* gradient) const {
  if (gradient == nullptr)
    return;
  const MWRect client = GetClientRect();
  MWRect rect = gradient->GetRect();
  rect.x = client.x;
  rect.w = client.w;
  rect.y = gradient->GetDirection() == MW_GRADIENT_UP ? client.y : client.Bottom() - rect.h;
  graphics.TransparentGradient(rect, gradient->GetDirection());
}

}  // namespace marrowleaf::desktop
