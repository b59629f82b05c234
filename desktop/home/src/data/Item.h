#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "data/Book.h"

namespace marrowleaf::desktop {

enum ItemType : int32_t {
  ITEM_ADDED = 1,
  ITEM_OPENED = 2,
  ITEM_ADDED_GROUP = 5,
  ITEM_MORE = 8,
  ITEM_STORE_BOOK = 1024,
  ITEM_STORE_DETAILED = 1025,
  ITEM_STORE_NEWS = 1026,
};

// Item blocks: the home-screen list built from the library, and the store blocks from 1000 on.
enum ItemBlock : int {
  DEVICE_BLOCK = 1,
  STORE_BLOCK_BASE = 1000,
};

// Times and counts (one rule for every record of the home screen and its cache): a time is a
// signed 64-bit count of seconds, in memory, in statements and in files, so nothing wraps in 2038;
// a count or page number is 32-bit, and a larger value from the library is clamped to that range,
// never wrapped.
//
// One home-screen tile's entry and the books it draws. books_count_ may exceed books_.size(): a
// group reads only its first books.
struct Item {
  int32_t type_ = 0;
  int32_t books_count_ = 0;
  int64_t timestamp_ = 0;  // seconds; the list is ordered by it, newest first
  bool is_seria_ = false;
  std::vector<std::shared_ptr<Book>> books_;
};

using Items = std::vector<std::shared_ptr<Item>>;

}  // namespace marrowleaf::desktop
