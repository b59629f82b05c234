#include "views/StarsContainer.h"

#include <string>

#include "platform/mw/MWBitmap.h"
#include "platform/sdk/log.h"
#include "views/ThemeImage.h"

namespace marrowleaf::desktop {

int StarsContainer::LoadAttributes(const AttributeLoader& loader) {
  MWWindow::LoadAttributes(loader);
  star_empty_ = ThemeImage::Load(loader.GetString("star_empty", ""));
  star_half_ = ThemeImage::Load(loader.GetString("star_half", ""));
  star_full_ = ThemeImage::Load(loader.GetString("star_full", ""));
  return 0;
}

int StarsContainer::cloneFromPrototype(const MWWindow* prototype) {
  const auto* stars = dynamic_cast<const StarsContainer*>(prototype);
  MW_RETURN_IF(stars == nullptr, -1, "Wrong prototype!!!");
  MWWindow::cloneFromPrototype(prototype);
  star_empty_ = stars->star_empty_;
  star_half_ = stars->star_half_;
  star_full_ = stars->star_full_;
  CollectStars();
  return 0;
}

void StarsContainer::OnLayoutLoaded() {
  CollectStars();
}

void StarsContainer::CollectStars() {
  stars_.clear();
  for (int n = 1;; ++n) {
    auto* star = GetNonDirectChildByName<MWBitmap>("stars_" + std::to_string(n));
    if (star == nullptr)
      break;
    stars_.push_back(star);
  }
}

void StarsContainer::SetRating(int rating) {
  const int full = rating / 10;
  // A half star past the last star has no place: the row then simply ends full.
  const bool half = rating % 10 == 5;
  for (size_t i = 0; i < stars_.size(); ++i) {
    MWBitmap* star = stars_[i];
    star->SetVisible(rating >= 1);
    const int position = static_cast<int>(i);
    if (position < full) {
      star->SetBitmap(star_full_);
    } else if (position == full && half) {
      star->SetBitmap(star_half_);
    } else {
      star->SetBitmap(star_empty_);
    }
  }
}

}  // namespace marrowleaf::desktop
