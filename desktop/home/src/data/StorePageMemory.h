#pragma once

namespace marrowleaf::desktop {

// Which store block was shown first: "store_page_index" (a block number) in global.cfg, and the
// marker "/tmp/store_page_index_loaded", which lives from the first load after a boot until the
// next boot, so that each boot starts on the next block.
class StorePageMemory {
 public:
  static constexpr const char* kMarkerPath = "/tmp/store_page_index_loaded";
  static constexpr const char* kIndexKey = "store_page_index";

  static bool MarkerExists();
  static void CreateMarker();
  // False when global.cfg can't be opened.
  static bool ReadIndex(int default_value, int* index);
  static void WriteIndex(int index);
};

}  // namespace marrowleaf::desktop
