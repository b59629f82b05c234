#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "data/Item.h"

namespace marrowleaf::desktop {

// What the screen reader says for a book tile: "3 new books, button", "More books, button", or
// the title and author with the book's state ("in the cloud", the loan's end, "recommended").
class BookItemSpeech {
 public:
  // The parts to speak, in order; empty for an empty slot. book_index chooses the book of an
  // item the tile owns.
  static std::vector<std::string> Parts(const Item* item, size_t book_index, bool own_item,
                                        time_t now);
};

}  // namespace marrowleaf::desktop
