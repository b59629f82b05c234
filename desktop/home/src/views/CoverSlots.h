#pragma once

#include <functional>

#include "data/Item.h"
#include "platform/utils/SmartBitmap.h"

class MWBitmap;
class MWWindow;

namespace marrowleaf::desktop {

// The numbered cover slots of a group or series ("cover_1", "no_cover_1", "cover_2", ...): slot n
// shows book n's cover, or its title and author on the no-cover card while it has none; slots
// without a book hide.
class CoverSlots {
 public:
  // Loads the cover of a book into a slot's bitmap window and returns it (empty when there is
  // none yet).
  using CoverLoader = std::function<SmartBitmap(const Book& book, MWBitmap& slot)>;

  static void Fill(MWWindow* container, const Item& item, const CoverLoader& load);
  // The no-cover card: its labels "title" and "author".
  static void FillNoCover(MWWindow* no_cover, const Book& book);
};

}  // namespace marrowleaf::desktop
