#pragma once

#include <cstdint>
#include <string>

namespace marrowleaf::desktop {

// The reading state of one book for the current profile: one row of books_settings.
struct BookSettings {
  std::string position;
  int32_t cpage = 0;
  int32_t npage = 0;
  int64_t opentime = 0;  // last open time, seconds; > 0 for opened books
  int32_t completed = 0;
  int32_t favorite = 0;
  std::string custom;
  int64_t position_ts = 0;
  int64_t favorite_ts = 0;
};

}  // namespace marrowleaf::desktop
