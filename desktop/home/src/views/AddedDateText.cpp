#include "views/AddedDateText.h"

#include "platform/sdk/lang.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kFallbackFormat = "%b %e";

// Local midnight `days_back` days before the day of now (mktime sorts out month ends and
// daylight-saving changes).
int64_t LocalMidnight(time_t now, int days_back) {
  struct tm day {};
  localtime_r(&now, &day);
  day.tm_hour = 0;
  day.tm_min = 0;
  day.tm_sec = 0;
  day.tm_mday -= days_back;
  day.tm_isdst = -1;
  return static_cast<int64_t>(mktime(&day));
}

std::string ShortDate(int64_t added) {
  char text[64];
  const time_t when = static_cast<time_t>(added);
  int length = GetLangTime(text, sizeof text, "@TimeFormatSDate", when);
  if (length == -1 || length == -2 || length == -100)
    length = GetLangTime(text, sizeof text, kFallbackFormat, when);
  return length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string();
}

}  // namespace

std::string AddedDateText::Format(int64_t added, time_t now) {
  const int64_t today = LocalMidnight(now, 0);
  const int64_t tomorrow = LocalMidnight(now, -1);
  if (added >= today && added < tomorrow)
    return GetLangText("@Today");
  if (added >= LocalMidnight(now, 1) && added < today)
    return GetLangText("@Yesterday");
  return ShortDate(added);
}

}  // namespace marrowleaf::desktop
