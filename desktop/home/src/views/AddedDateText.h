#pragma once

#include <cstdint>
#include <ctime>
#include <string>

namespace marrowleaf::desktop {

// When a group of books was added, as its tile says it: "Today" from local midnight on,
// "Yesterday" for the day before, else the short date of the language ("Mar 4"). Dates in the
// future (a clock set back) are shown as dates too.
class AddedDateText {
 public:
  static std::string Format(int64_t added, time_t now);
};

}  // namespace marrowleaf::desktop
