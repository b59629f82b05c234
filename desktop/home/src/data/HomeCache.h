#pragma once

#include "data/Item.h"

namespace marrowleaf::desktop {

// The home-screen cache: the device block as it was when the program last left, so that the next
// start can draw it before the first library query returns. A key-value file of the device:
// "version" = 2, then "item.<i>.type|books_count|timestamp" and "item.<i>.book.<k>.<field>" for the
// books a tile draws (one for single books, up to three for a group, none for other items). Texts
// that a line can't hold as they are (control characters, NUL, very long ones) are written as
// hexadecimal pieces beside their key, so every text reads back as it was written. Times are
// decimal 64-bit numbers; those before 2038 read the same in any version of the file.
class HomeCache {
 public:
  static constexpr const char* kPath = "/mnt/ext1/system/cache/desktop/cache.dat";
  static constexpr int kVersion = 2;
  static constexpr int kMaxItems = 50;

  // Replaces the file with the items. Each save starts from an empty file and replaces the old one
  // whole, so nothing of an earlier, longer list survives. False when it could not be written.
  static bool Save(const Items& items);
  // The items of the file; empty when it is missing, damaged before its version or of another
  // version. A damaged line costs only the value it held.
  static Items Load();
};

}  // namespace marrowleaf::desktop
