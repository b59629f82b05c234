#include "platform/mw/MWGradientWindow.h"

void MWGradientWindow::SetDirection(MWGradientDirection direction) {
  direction_ = direction;
  MarkAsChanged();
}

int MWGradientWindow::LoadAttributes(const AttributeLoader& loader) {
  MWWindow::LoadAttributes(loader);
  direction_ = loader.GetString("direction", "down") == "up" ? MW_GRADIENT_UP : MW_GRADIENT_DOWN;
  color_ = loader.GetColor("color", color_);
  return 0;
}

int MWGradientWindow::cloneFromPrototype(const MWWindow* prototype) {
  MWWindow::cloneFromPrototype(prototype);
  if (const auto* gradient = dynamic_cast<const MWGradientWindow*>(prototype)) {
    direction_ = gradient->direction_;
    color_ = gradient->color_;
  }
  return 0;
}

int MWGradientWindow::OnDraw(MWGraphics& graphics) {
  graphics.TransparentGradient(MWRect{0, 0, Width(), Height()}, direction_, color_);
  return 0;
}
