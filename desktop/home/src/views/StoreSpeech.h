#pragma once

#include <string>
#include <utility>
#include <vector>

namespace marrowleaf::desktop {

// What the screen reader says for a store tile: "Title: ..., Author: ..., ..., Recommended book".
class StoreSpeech {
 public:
  // Pairs of a language key and a text; pairs with an empty text are left out.
  static std::vector<std::string> Parts(
      const std::vector<std::pair<const char*, std::string>>& labelled);
};

}  // namespace marrowleaf::desktop
