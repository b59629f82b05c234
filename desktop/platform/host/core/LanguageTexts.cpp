#include "LanguageTexts.h"

#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <string_view>

#include "DeviceConfig.h"
#include "FolderName.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {

namespace {

constexpr size_t kMaxLanguageName = 32;

bool IsKey(const std::string& text) {
  return !text.empty() && text.front() == '@';
}

std::string WithoutAt(const std::string& key) {
  return IsKey(key) ? key.substr(1) : key;
}

void ReplaceAll(std::string* text, const std::string& from, const std::string& to) {
  for (size_t at = text->find(from); at != std::string::npos;
       at = text->find(from, at + to.size())) {
    text->replace(at, from.size(), to);
  }
}

// The conversions of a printf format without flags, widths and precisions ("%-5.2f, %s" gives
// "f,s"); two formats with the same signature take the same arguments.
std::string PrintfSignature(const std::string& format) {
  std::string signature;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%')
      continue;
    if (++i < format.size() && format[i] == '%')
      continue;
    std::string conversion;
    for (; i < format.size(); ++i) {
      char c = format[i];
      if (std::string_view("-+ #0123456789.'").find(c) != std::string_view::npos)
        continue;
      conversion.push_back(c);
      if (std::string_view("hlLqjzt*").find(c) == std::string_view::npos)
        break;
    }
    signature += conversion + ",";
  }
  return signature;
}

}  // namespace

LanguageTexts& LanguageTexts::Get() {
  static LanguageTexts* instance = new LanguageTexts();
  return *instance;
}

void LanguageTexts::LoadTable(const std::string& language, Table* table) {
  table->language = language;
  table->texts = KeyValueStore::ReadFile("/ebrmain/language/" + language + ".txt");
  table->texts.MergeFrom(KeyValueStore::ReadFile("/mnt/ext1/system/language/" + language + ".txt"));
  UErrorCode status = U_ZERO_ERROR;
  table->rules.reset(icu::PluralRules::forLocale(icu::Locale(language.c_str()), status));
  if (U_FAILURE(status))
    table->rules.reset();
}

void LanguageTexts::LoadLocked(const std::string& requested) {
  std::string language = requested.empty() ? DeviceConfig::ReadOnce(DeviceConfig::kGlobalConfigPath,
                                                                    "language", kDefaultLanguage)
                                           : requested;
  if (!FolderName::IsSafe(language, kMaxLanguageName)) {
    MW_LOG(MW_LOG_WARNING, "Language [%s] is not valid\n", language.c_str());
    language = kDefaultLanguage;
  }
  loaded_ = true;
  root_ = DeviceRoot();
  LoadTable(language, &current_);
  LoadTable(kDefaultLanguage, &english_);
}

void LanguageTexts::RefreshForRoot() {
  if (!loaded_ || root_ != DeviceRoot())
    LoadLocked("");
}

void LanguageTexts::Load(const std::string& language) {
  std::lock_guard<std::mutex> lock(mutex_);
  LoadLocked(language);
}

std::string LanguageTexts::Language() {
  std::lock_guard<std::mutex> lock(mutex_);
  RefreshForRoot();
  return current_.language;
}

const std::string* LanguageTexts::FindLocked(const std::string& bare_key) const {
  const std::string* text = current_.texts.Find(bare_key);
  return text ? text : english_.texts.Find(bare_key);
}

bool LanguageTexts::Find(const std::string& key, std::string* text) {
  std::lock_guard<std::mutex> lock(mutex_);
  RefreshForRoot();
  const std::string* found = IsKey(key) ? FindLocked(WithoutAt(key)) : nullptr;
  if (found)
    *text = *found;
  return found != nullptr;
}

std::string LanguageTexts::Text(const std::string& key) {
  std::string text;
  if (!IsKey(key))
    return key;
  return Find(key, &text) ? text : WithoutAt(key);
}

const std::string* LanguageTexts::FindPlural(const Table& table, const std::string& bare_key,
                                             int count) {
  std::string category = "other";
  if (table.rules) {
    category.clear();
    table.rules->select(static_cast<int32_t>(count)).toUTF8String(category);
  }
  for (const std::string& candidate : {bare_key + "_" + category, bare_key + "_other", bare_key}) {
    if (const std::string* text = table.texts.Find(candidate))
      return text;
  }
  return nullptr;
}

std::string LanguageTexts::Plural(const std::string& key, int count) {
  std::string text = key;
  if (IsKey(key)) {
    std::lock_guard<std::mutex> lock(mutex_);
    RefreshForRoot();
    const std::string bare_key = WithoutAt(key);
    const std::string* found = FindPlural(current_, bare_key, count);
    if (found == nullptr)
      found = FindPlural(english_, bare_key, count);
    text = found ? *found : bare_key;
  }
  ReplaceAll(&text, "%d", std::to_string(count));
  return text;
}

std::string LanguageTexts::PrintfFormat(const std::string& key) {
  if (!IsKey(key))
    return key;
  std::lock_guard<std::mutex> lock(mutex_);
  RefreshForRoot();
  const std::string bare_key = WithoutAt(key);
  const std::string* translated = current_.texts.Find(bare_key);
  const std::string* english = english_.texts.Find(bare_key);
  std::string format = translated ? *translated : english ? *english : bare_key;
  if (translated && english && PrintfSignature(*translated) != PrintfSignature(*english)) {
    MW_LOG(MW_LOG_WARNING, "Text [%s] of [%s] doesn't match the English one\n", key.c_str(),
           current_.language.c_str());
    format = *english;
  }
  // "%n" writes through an argument; no text of a file may do that.
  if (PrintfSignature(format).find('n') != std::string::npos)
    return "";
  return format;
}

}  // namespace marrowleaf::platform
