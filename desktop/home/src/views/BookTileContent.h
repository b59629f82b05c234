#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>

#include "data/Item.h"
#include "platform/utils/SmartBitmap.h"

class MWBitmap;
class MWLabel;
class MWWindow;

namespace marrowleaf::desktop {

// The drawing rules of a book tile: for each kind of item, which of the tile's named children are
// shown and what they show (covers, texts, badges). The tile's look is given entirely by those
// children in the layout; a missing child is skipped.
//
// Fill may run whenever the item may have changed: it only touches the children whose content or
// visibility really changes (labels and bitmaps ignore a value they already have), so the redraw
// that follows covers exactly what changed, and a cover that has just arrived repaints only its
// own window.
class BookTileContent {
 public:
  // What the tile's BookItemPostDraw paints over it.
  struct Frame {
    int mode = 0;
    int progress = -1;
  };

  BookTileContent(MWWindow& tile, bool load_covers_now);

  // Shows the item (the book `index` of a tile that owns its item, else the item as a whole) and
  // hides every other part. A null item shows the empty slot; only the first empty slot of a
  // block (index == items_in_block) says what the slots are for, the others are outlines.
  Frame Fill(const std::shared_ptr<Item>& item, size_t index, bool own_item,
             size_t items_in_block = 0);
  // Hides every part but the post-draw window.
  void HideAll();
  void SetLoadNow(bool load_now) { load_now_ = load_now; }

 private:
  Frame Rules(const Item* item, size_t index, bool own_item, bool first_empty);
  bool OpenedBook(const Item& item, size_t index, bool own_item);
  bool AddedBook(const Item& item, size_t index, bool own_item);
  void MultiAdded(const Item& item);
  bool Series(const Item& item);
  bool StoreBook(const Item& item);
  void Empty(bool with_hint);

  void MoreBooksBadge(const Item& item, const Book& book, bool own_item);
  void LicenceBadge(const Book& book);
  void Cover(const Book& book);
  void LoanBadge(const Book& book);
  void SampleBadge();
  void CloudBadge(const Book& book);
  void Rating(const Book& book);
  void FillSlots(MWWindow* container, const Item& item, bool store_covers);
  void AddedInfo(const Item& item);

  SmartBitmap BookCover(const Book& book, int width, int height) const;
  int BookCoverColor(const Book& book, int width, int height, int band) const;
  void SetCoverBitmap(MWBitmap* window, const SmartBitmap& bitmap);
  void SetBackground(const char* name, int color);

  MWWindow* Part(const char* name) const;
  void Show(const char* name);
  void ApplyVisibility();

  MWWindow& tile_;
  bool load_now_;
  std::set<std::string> shown_;
  // Covers drawn inverted (a screen that runs inverted) and the bitmap each was made from, so that
  // an unchanged cover is not inverted, and so redrawn, again.
  std::map<const MWBitmap*, SmartBitmap> inverted_from_;
};

}  // namespace marrowleaf::desktop
