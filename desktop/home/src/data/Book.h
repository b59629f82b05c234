#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "data/BookSettings.h"

namespace marrowleaf::desktop {

// Everything a tile, a context menu or an action needs about one book: a library book (id > 0), a
// store offer or the texts of a news block (id 0, no path, no settings).
struct Book {
  int64_t id = 0;
  std::string path;
  std::string title;
  std::string author;
  std::shared_ptr<BookSettings> settings;
  int64_t ts_added = 0;
  int32_t drm = 0;
  bool cloud = false;
  std::string cloud_ext;
  bool local = false;
  std::string fast_hash;    // raw bytes
  std::string resource_id;  // raw bytes
  int64_t loan_exp = 0;
  std::string loan_id;
  std::string store_id;
  std::string store_url;
  std::string store_cover;
  int32_t rating = -1;  // tenths of a star, 0..50 in steps of 5; -1 when none
  std::string store_price;
  std::string store_price_old;
  std::string store_desc;
  std::string store_type;
  std::string store_button;
  bool is_audio = false;
  bool is_wishlist = false;
  bool is_more = false;
  bool is_sample = false;
};

}  // namespace marrowleaf::desktop
