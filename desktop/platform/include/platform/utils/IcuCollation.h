// Locale collation for SQLite through ICU, for SQLite builds without ICU support. Registering adds
// two SQL functions to a connection:
//   icu_load_collation(locale, name)               the collation `name` sorts texts by the locale
//   icu_load_collation_with_numbers(locale, name)  the same, with digit runs compared as numbers
// Statements then use "COLLATE name". A locale ICU can't open makes the function fail with an
// error.
#pragma once

struct sqlite3;

namespace marrowleaf::utilities {

// SQLite's result code of registering the two functions (SQLITE_OK on success).
int RegisterIcuCollationFunctions(sqlite3* db);

}  // namespace marrowleaf::utilities
