#pragma once

#include "platform/mw/MWWindow.h"

namespace marrowleaf::desktop {

// The pill-shaped badge behind a loan or sample label: a frame with corners of half its height,
// filled with the fill colour. Layout attributes: "fill_color" (default white), "add_right_margin"
// (room kept after the label when the badge is fitted to its text).
class LoanBackground : public MWWindow {
 public:
  LoanBackground() { SetClassName("LoanBackground"); }

  int GetRightMargin() const { return add_right_margin_; }

  int OnDraw(MWGraphics& graphics) override;
  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;

 private:
  int fill_color_ = 0xFFFFFF;
  int add_right_margin_ = 0;
};

}  // namespace marrowleaf::desktop
