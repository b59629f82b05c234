#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "data/Item.h"

namespace marrowleaf::desktop {

// The store blocks of the configuration: block n has the id 1000 + n and one entry in each of the
// three text vectors, also when it holds no items.
struct StoreBlocks {
  std::map<int32_t, Items> store_blocks_;
  std::vector<std::string> block_names_;
  std::vector<std::string> block_titles_;
  std::vector<std::string> block_urls_;
  std::vector<int32_t> block_ids_;

  bool HoldsItems(int32_t id) const {
    auto found = store_blocks_.find(id);
    return found != store_blocks_.end() && !found->second.empty();
  }
};

}  // namespace marrowleaf::desktop
