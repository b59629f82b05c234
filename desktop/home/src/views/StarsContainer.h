#pragma once

#include <vector>

#include "platform/mw/MWWindow.h"
#include "platform/utils/SmartBitmap.h"

class MWBitmap;

namespace marrowleaf::desktop {

// The rating of a store offer as a row of stars ("stars_1", "stars_2", ...). Layout attributes:
// "star_empty", "star_half", "star_full" (theme images).
class StarsContainer : public MWWindow {
 public:
  StarsContainer() { SetClassName("StarsContainer"); }

  // r in tenths of the scale (0..50): floor(r / 10) full stars, a half star when r ends in 5, the
  // rest empty; every star hidden below 1.
  void SetRating(int rating);

  void OnLayoutLoaded() override;
  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;

 private:
  void CollectStars();

  SmartBitmap star_empty_;
  SmartBitmap star_half_;
  SmartBitmap star_full_;
  std::vector<MWBitmap*> stars_;
};

}  // namespace marrowleaf::desktop
