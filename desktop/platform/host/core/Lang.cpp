// The language functions of the SDK over LanguageTexts. Texts handed out as `const char*` are
// interned, so they stay valid on every thread whatever is reloaded later.
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "LanguageTexts.h"
#include "StringPool.h"
#include "platform/sdk/lang.h"

using marrowleaf::platform::LanguageTexts;
using marrowleaf::platform::StringPool;

namespace {

// Formatted dates are short; a longer result is taken as a runaway format.
constexpr size_t kMaxTimeText = 1024;

const char* const kShortDays[] = {"@Sun", "@Mon", "@Tue", "@Wed", "@Thu", "@Fri", "@Sat"};
const char* const kLongDays[] = {"@Sunday",   "@Monday", "@Tuesday", "@Wednesday",
                                 "@Thursday", "@Friday", "@Saturday"};
const char* const kShortMonths[] = {"@Jan", "@Feb", "@Mar", "@Apr", "@May", "@Jun",
                                    "@Jul", "@Aug", "@Sep", "@Oct", "@Nov", "@Dec"};
// The long and the short name of May share a key, as they do in most languages.
const char* const kLongMonths[] = {"@January",   "@February", "@March",    "@April",
                                   "@May",       "@June",     "@July",     "@August",
                                   "@September", "@October",  "@November", "@December"};

// The name key a strftime conversion stands for, or nullptr for the conversions without names.
const char* NameKey(char conversion, const std::tm& time) {
  switch (conversion) {
    case 'a':
      return kShortDays[time.tm_wday];
    case 'A':
      return kLongDays[time.tm_wday];
    case 'b':
    case 'h':
      return kShortMonths[time.tm_mon];
    case 'B':
      return kLongMonths[time.tm_mon];
    default:
      return nullptr;
  }
}

std::string EscapePercent(const std::string& text) {
  std::string escaped;
  for (char c : text) {
    if (c == '%')
      escaped.push_back('%');
    escaped.push_back(c);
  }
  return escaped;
}

// Puts the language's day and month names in place of their conversions; a name the language
// doesn't have is left to strftime.
std::string LocaliseNames(const std::string& format, const std::tm& time) {
  std::string result;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      result.push_back(format[i]);
      continue;
    }
    char conversion = format[++i];
    const char* key = NameKey(conversion, time);
    std::string name;
    if (key != nullptr && LanguageTexts::Get().Find(key, &name)) {
      result += EscapePercent(name);
    } else {
      result.push_back('%');
      result.push_back(conversion);
    }
  }
  return result;
}

}  // namespace

void LoadLanguage(const char* language) {
  LanguageTexts::Get().Load(language ? language : "");
}

const char* CurrentLanguage() {
  return StringPool::Intern(LanguageTexts::Get().Language());
}

const char* GetLangText(const char* key) {
  if (key == nullptr)
    return "";
  if (key[0] != '@')
    return key;
  return StringPool::Intern(LanguageTexts::Get().Text(key));
}

const char* GetLangTextPlural(const char* key, int count) {
  if (key == nullptr)
    return "";
  return StringPool::Intern(LanguageTexts::Get().Plural(key, count));
}

int GetLangTime(char* buffer, int size, const char* format_key, time_t t) {
  if (buffer == nullptr || size <= 0 || format_key == nullptr)
    return -1;
  std::string format = format_key;
  if (format_key[0] == '@' && !LanguageTexts::Get().Find(format_key, &format))
    return -100;
  std::tm time{};
  if (localtime_r(&t, &time) == nullptr)
    return -1;
  format = LocaliseNames(format, time);
  char text[kMaxTimeText];
  // strftime gives 0 both for an empty result and for one that doesn't fit; a format that is not
  // empty and writes nothing is taken as too long.
  size_t length = format.empty() ? 0 : std::strftime(text, sizeof text, format.c_str(), &time);
  if (length == 0 && !format.empty())
    return -2;
  text[length] = '\0';
  if (length >= static_cast<size_t>(size))
    return -2;
  std::memcpy(buffer, text, length + 1);
  return static_cast<int>(length);
}

int pk_lang_format(char* buffer, size_t size, const char* format_key, ...) {
  if (buffer == nullptr || size == 0 || format_key == nullptr)
    return -1;
  const std::string format = LanguageTexts::Get().PrintfFormat(format_key);
  va_list args;
  va_start(args, format_key);
  int length = std::vsnprintf(buffer, size, format.c_str(), args);
  va_end(args);
  if (length < 0)
    return -1;
  return static_cast<int>(std::min(static_cast<size_t>(length), size - 1));
}
