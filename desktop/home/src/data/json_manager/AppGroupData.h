// A group of the applications screen: its title, its sort key and its applications' ids.
#pragma once

#include <string>
#include <vector>

namespace marrowleaf::desktop {

struct AppGroupData {
  std::string title_;
  std::string sort_;
  std::vector<std::string> apps_;

  bool operator==(const AppGroupData& other) const {
    return title_ == other.title_ && sort_ == other.sort_ && apps_ == other.apps_;
  }
  bool operator!=(const AppGroupData& other) const { return !(*this == other); }
};

}  // namespace marrowleaf::desktop
