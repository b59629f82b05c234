#include "platform/utils/HumanStringUtility.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/sdk/lang.h"

namespace marrowleaf::utilities {
namespace {

constexpr int64_t kMinute = 60;
constexpr int64_t kHour = 60 * kMinute;
constexpr int64_t kDay = 24 * kHour;

// The two largest parts that are not zero, each through its plural key, joined by a blank.
std::string Format(const HumanStringUtility::DeadLine& left, const char* days, const char* hours,
                   const char* minutes) {
  if (left.IsOver())
    return GetLangText("@LoanExpired");
  const std::vector<std::pair<int, const char*>> parts = {
      {left.days, days}, {left.hours, hours}, {left.minutes, minutes}};
  std::string text;
  int taken = 0;
  for (const auto& [value, key] : parts) {
    if (taken == 2 || (taken == 1 && value == 0))
      break;
    if (value == 0)
      continue;
    if (!text.empty())
      text += ' ';
    text += GetLangTextPlural(key, value);
    ++taken;
  }
  return text;
}

}  // namespace

HumanStringUtility::DeadLine HumanStringUtility::HumanToDeadLine(int64_t deadline, int64_t now) {
  DeadLine left;
  if (deadline <= now)
    return left;
  const int64_t seconds = deadline - now;
  left.days = static_cast<int>(seconds / kDay);
  left.hours = static_cast<int>(seconds % kDay / kHour);
  // A loan with less than a minute left still has time: it reads "1 minute", not "expired".
  left.minutes = static_cast<int>((seconds % kHour + kMinute - 1) / kMinute);
  if (left.minutes == 60) {
    left.minutes = 0;
    ++left.hours;
  }
  if (left.hours == 24) {
    left.hours = 0;
    ++left.days;
  }
  return left;
}

std::string HumanStringUtility::LongFormat(const DeadLine& left) {
  return Format(left, "@Days", "@Hours", "@Minutes");
}

std::string HumanStringUtility::ShortFormat(const DeadLine& left) {
  return Format(left, "@DaysShort", "@HoursShort", "@MinutesShort");
}

}  // namespace marrowleaf::utilities
