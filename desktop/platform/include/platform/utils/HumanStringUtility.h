#pragma once

#include <cstdint>
#include <string>

namespace marrowleaf::utilities {

// Loan deadlines as a reader reads them: "2 days 5 hours" where there is room, "2d 5h" where there
// is not, in the current language.
class HumanStringUtility {
 public:
  // The time left until a deadline, in whole days, hours and minutes; all zero once it has passed.
  struct DeadLine {
    int days = 0;
    int hours = 0;
    int minutes = 0;

    bool IsOver() const { return days == 0 && hours == 0 && minutes == 0; }
  };

  // deadline and now are seconds since the epoch.
  static DeadLine HumanToDeadLine(int64_t deadline, int64_t now);
  // The two largest parts that are not zero ("2 days 5 hours", "3 hours 10 minutes"); a passed
  // deadline reads "@LoanExpired".
  static std::string LongFormat(const DeadLine& left);
  // The same, abbreviated ("2d 5h").
  static std::string ShortFormat(const DeadLine& left);
};

}  // namespace marrowleaf::utilities
