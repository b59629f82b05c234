#pragma once

#include <vector>

#include "platform/mw/MWDialog.h"
#include "platform/utils/SmartBitmap.h"

class MWBitmap;

namespace marrowleaf::desktop {

// The page marks under the book pages: one mark per page, the current one "on". Screen-reader
// users turn pages with the slider gesture on it (commands 101 and 102, the container as sender).
//
// Layout attributes: "step_image_on", "step_image_off" (theme images), "step_width" (room per
// mark, default 50).
class PointsContainer : public MWDialog {
 public:
  PointsContainer() { SetClassName("PointsContainer"); }

  void SetCount(int count);
  void SetCurrent(int index);
  int GetCount() const { return static_cast<int>(point_windows_.size()); }
  int GetCurrent() const { return current_; }

  int OnCreate() override { return 0; }
  void OnLayoutLoaded() override {}
  int OnDraw(MWGraphics& graphics) override;
  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;
  int AccessibilitySliderCommandHandler(int command) override;
  void AccessibilityPlayGroup() override;

 private:
  void PlacePoints();

  SmartBitmap step_image_on_;
  SmartBitmap step_image_off_;
  std::vector<MWBitmap*> point_windows_;
  int step_width_ = 50;
  int current_ = 0;
};

}  // namespace marrowleaf::desktop
