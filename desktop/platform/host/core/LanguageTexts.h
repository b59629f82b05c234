#pragma once

#include <memory>
#include <mutex>
#include <string>

#include <unicode/plurrule.h>

#include "KeyValueStore.h"

namespace marrowleaf::platform {

// The texts of the current language and of English, its fallback. A language's texts come from
// "/ebrmain/language/<lang>.txt" with "/mnt/ext1/system/language/<lang>.txt" over them; in the
// files keys are written without their leading "@". Every member locks, so the query thread may
// format texts while the event loop reloads them. Loaded on first use and again when the device
// root changes.
class LanguageTexts {
 public:
  static constexpr const char* kDefaultLanguage = "en";

  static LanguageTexts& Get();

  // Loads language; empty means the global configuration's choice, which is also what a change of
  // device root loads.
  void Load(const std::string& language);
  std::string Language();
  // The text of "@Key" in the current language, else in English; false when neither has it.
  bool Find(const std::string& key, std::string* text);
  // Find, falling back to the key without "@".
  std::string Text(const std::string& key);
  // The plural form of key for count, with "%d" replaced by the count.
  std::string Plural(const std::string& key, int count);
  // A printf format for key whose conversions can be trusted to match the caller's arguments: a
  // translation whose conversions differ from the English text's is replaced by the English one.
  std::string PrintfFormat(const std::string& key);

 private:
  struct Table {
    std::string language;
    KeyValueStore texts;
    std::unique_ptr<icu::PluralRules> rules;
  };

  LanguageTexts() = default;
  void RefreshForRoot();
  void LoadLocked(const std::string& language);
  static void LoadTable(const std::string& language, Table* table);
  // The text of key (without "@") in the current language, then in English.
  const std::string* FindLocked(const std::string& bare_key) const;
  static const std::string* FindPlural(const Table& table, const std::string& bare_key, int count);

  std::mutex mutex_;
  bool loaded_ = false;
  std::string root_;
  Table current_;
  Table english_;
};

}  // namespace marrowleaf::platform
