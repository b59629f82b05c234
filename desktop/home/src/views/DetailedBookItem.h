#pragma once

#include "platform/mw/MWDialog.h"
#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::desktop {

struct Book;
struct Item;

// The store block's single recommended book, large: cover (or a series of covers) on the left with
// its colours carried into the background, title, author, price (the old price struck through) and
// a description that fades out where the tile ends.
//
// Children (each optional): "Cover" / "AudioCover" (each with the bitmap "cover"), "SeriaContainer"
// / "AudioSeriaContainer" (slots "cover_N" and "no_cover_N"), "TopBackground",
// "BottomBackground", "CoverShade", "WishlistMark", the labels "title_label", "author_label",
// "price_label", "old_price_label", "description_label", the gradient "description_gradient" and
// the line "cross_line". Layout attribute: "cover_wishmark_left" (the wish-list mark's offset from
// the cover's left edge).
class DetailedBookItem : public MWDialog {
 public:
  DetailedBookItem() { SetClassName("DetailedBookItem"); }

  // Shows the first item of a store block.
  void Bind(int block);
  void Refresh() { Bind(block_); }

  int LoadAttributes(const AttributeLoader& loader) override;
  int cloneFromPrototype(const MWWindow* prototype) override;
  void AccessibilityPlayGroup() override;

 private:
  void ChooseCoverWindow(const Item& item, const Book& book);
  void FillCover(const Item& item, const Book& book);
  void FillTexts(const Book& book);
  void PlaceOldPrice(bool has_old_price);
  void FitDescription();
  void HideAll();

  int block_ = 0;
  int index_ = 0;
  int wishmark_left_ = 0;
  MWWindow* cover_window_ = nullptr;
  SmartBitmap shade_source_;
};

}  // namespace marrowleaf::desktop
