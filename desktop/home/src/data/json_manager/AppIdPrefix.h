// The kinds of application ids are told apart by their prefix: "MW_" firmware applications, "U_"
// applications of the user's view file, "UR_" bundles found on the storage.
#pragma once

#include <string>

namespace marrowleaf::desktop {

inline bool HasIdPrefix(const std::string& id, const char* prefix) {
  return id.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

}  // namespace marrowleaf::desktop
