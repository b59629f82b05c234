#include "views/LoanBackground.h"

#include "platform/mw/MWColor.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/log.h"

namespace marrowleaf::desktop {

int LoanBackground::LoadAttributes(const AttributeLoader& loader) {
  MWWindow::LoadAttributes(loader);
  fill_color_ = loader.GetColor("fill_color", MW_COLOR_WHITE);
  add_right_margin_ = loader.GetInt("add_right_margin", 0);
  return 0;
}

int LoanBackground::cloneFromPrototype(const MWWindow* prototype) {
  const auto* badge = dynamic_cast<const LoanBackground*>(prototype);
  MW_RETURN_IF(badge == nullptr, -1, "Wrong prototype!!!");
  MWWindow::cloneFromPrototype(prototype);
  fill_color_ = badge->fill_color_;
  add_right_margin_ = badge->add_right_margin_;
  return 0;
}

int LoanBackground::OnDraw(MWGraphics& graphics) {
  const MWRect rect{0, 0, Width(), Height()};
  const int radius = Height() / 2;
  graphics.FillRoundRect(rect, radius, fill_color_);
  graphics.DrawFrame(rect, GetDefaultFrameCertifiedThickness(-1), MW_COLOR_BLACK, radius);
  return 0;
}

}  // namespace marrowleaf::desktop
