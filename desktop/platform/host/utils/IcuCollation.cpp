#include "platform/utils/IcuCollation.h"

#include <sqlite3.h>
#include <unicode/ucol.h>

#include <string>

namespace marrowleaf::utilities {
namespace {

// Locale names come from SQL text; anything longer than a real locale id is refused.
constexpr int kMaxLocaleBytes = 64;

int CompareUtf16(void* collator, int left_bytes, const void* left, int right_bytes,
                 const void* right) {
  const UCollationResult result =
      ucol_strcoll(static_cast<UCollator*>(collator), static_cast<const UChar*>(left),
                   left_bytes / 2, static_cast<const UChar*>(right), right_bytes / 2);
  return result == UCOL_LESS ? -1 : (result == UCOL_GREATER ? 1 : 0);
}

void CloseCollator(void* collator) {
  ucol_close(static_cast<UCollator*>(collator));
}

// Opens the collator of the first argument and registers it under the name of the second. The
// user data tells whether digit runs compare by their numeric value.
void LoadCollation(sqlite3_context* context, int argc, sqlite3_value** argv) {
  const bool numeric = sqlite3_user_data(context) != nullptr;
  const unsigned char* locale = argc == 2 ? sqlite3_value_text(argv[0]) : nullptr;
  const unsigned char* name = argc == 2 ? sqlite3_value_text(argv[1]) : nullptr;
  if (locale == nullptr || name == nullptr || sqlite3_value_bytes(argv[0]) > kMaxLocaleBytes) {
    sqlite3_result_error(context, "icu_load_collation: bad arguments", -1);
    return;
  }
  UErrorCode status = U_ZERO_ERROR;
  UCollator* collator = ucol_open(reinterpret_cast<const char*>(locale), &status);
  if (U_FAILURE(status)) {
    sqlite3_result_error(context, "icu_load_collation: unknown locale", -1);
    return;
  }
  if (numeric)
    ucol_setAttribute(collator, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
  const int code = sqlite3_create_collation_v2(sqlite3_context_db_handle(context),
                                               reinterpret_cast<const char*>(name), SQLITE_UTF16,
                                               collator, CompareUtf16, CloseCollator);
  if (U_FAILURE(status) || code != SQLITE_OK) {
    // A failed registration does not call the destructor, so the collator is still ours.
    if (code != SQLITE_OK)
      ucol_close(collator);
    sqlite3_result_error(context, "icu_load_collation: registration failed", -1);
  }
}

}  // namespace

int RegisterIcuCollationFunctions(sqlite3* db) {
  static int numeric_marker = 1;
  int code = sqlite3_create_function(db, "icu_load_collation", 2, SQLITE_UTF8, nullptr,
                                     LoadCollation, nullptr, nullptr);
  if (code != SQLITE_OK)
    return code;
  return sqlite3_create_function(db, "icu_load_collation_with_numbers", 2, SQLITE_UTF8,
                                 &numeric_marker, LoadCollation, nullptr, nullptr);
}

}  // namespace marrowleaf::utilities
