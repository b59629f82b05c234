#pragma once

#include <vector>

#include "platform/mw/MWDialog.h"

namespace marrowleaf::desktop {

class BookItem;
class DetailedBookItem;
class NewsItem;

// A page of book tiles ("bookitem_1", "bookitem_2", ...) or the store block, with the store's
// detailed tile ("detailed_bookitem", its focus window "detailed_bookitem_focus") and news tile
// ("newsitem"). It binds its tiles to consecutive items of a data-model block, spreads store offers
// over its width, and turns a horizontal swipe into a page command (101 next, 102 previous).
//
// Layout attributes: "col_count" (tiles per row, default 5), "min_padding" (the least room between
// two store tiles, default 16).
class DesktopContainer : public MWDialog {
 public:
  // A swipe is a finger that travelled more than this far sideways.
  static constexpr int kSwipeDistancePx = 100;

  DesktopContainer() { SetClassName("DesktopContainer"); }

  // Binds the tiles to items first, first + 1, ... of the block and shows them; returns first plus
  // the number of tiles. Store blocks (1000 on) show only the offers that fit. mark: covers of
  // these tiles are loaded at once (the first screen).
  int ShowItems(int block, int first, bool mark);
  // The block's first item as one detailed tile, or as a news tile; the numbered tiles hide.
  void ShowDetailedItem(int block);
  void ShowNewsItem(int block);

  void FocusFirst();
  // The 1-based row of the focused tile; 0 when no tile has the focus.
  int FocusedRow() const;
  // Focuses the first column of row r (r > 0) or the last column of row -r (r < 0).
  void FocusRow(int row);
  // True when the focus is on one of this container's windows.
  bool HasFocusInside() const;
  void Refresh();
  int GetItemCount() const { return static_cast<int>(items_.size()); }
  const std::vector<BookItem*>& Items() const { return items_; }

  int MainHandler(int type, int par1, int par2) override;
  int OnFocusSet(MWWindow* from, int key) override;
  void OnLayoutLoaded() override;
  int LoadAttributes(const AttributeLoader& loader) override;

 private:
  int ShowStoreItems(int block, int first, bool mark);
  // Hides the tiles from tiles_kept on and the store tiles but `shown`.
  void ShowOnly(MWWindow* shown, int tiles_kept);
  int FocusedIndex() const;

  int touch_x_ = -1;
  int touch_y_ = -1;
  int col_count_ = 5;
  std::vector<BookItem*> items_;
  DetailedBookItem* detailed_item_ = nullptr;
  MWWindow* detailed_focus_ = nullptr;
  NewsItem* news_item_ = nullptr;
  int min_padding_ = 16;
};

}  // namespace marrowleaf::desktop
