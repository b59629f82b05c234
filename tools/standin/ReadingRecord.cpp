#include "ReadingRecord.h"

#include <sqlite3.h>

#include <ctime>
#include "ReaderRegistry.h"
#include "platform/sdk/device.h"
#include "platform/sdk/files.h"

namespace marrowleaf::tools {
namespace {

constexpr const char* kLibrary = "/mnt/ext1/system/explorer-3/explorer-3.db";
constexpr int kBusyTimeoutMs = 2000;

// The statements run in order, each with the same parameters: the profile's row is made if it is
// missing, then the book's reading state is made or updated.
const char* const kStatements[] = {
    "INSERT OR IGNORE INTO profiles (name) VALUES (?3)",
    "INSERT OR IGNORE INTO books_settings (bookid, profileid, opentime) "
    "SELECT f.book_id, p.id, ?4 FROM files f JOIN folders d ON d.id = f.folder_id, profiles p "
    "WHERE d.name = ?1 AND f.filename = ?2 AND p.name = ?3",
    "UPDATE books_settings SET opentime = ?4 WHERE profileid = (SELECT id FROM profiles WHERE "
    "name = ?3) AND bookid IN (SELECT f.book_id FROM files f JOIN folders d ON d.id = "
    "f.folder_id WHERE d.name = ?1 AND f.filename = ?2)",
};

bool Run(sqlite3* db, const char* sql, const std::string& folder, const std::string& file,
         const std::string& profile) {
  sqlite3_stmt* statement = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) != SQLITE_OK)
    return false;
  sqlite3_bind_text(statement, 1, folder.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(statement, 2, file.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(statement, 3, profile.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int64(statement, 4, static_cast<sqlite3_int64>(std::time(nullptr)));
  const bool done = sqlite3_step(statement) == SQLITE_DONE;
  sqlite3_finalize(statement);
  return done;
}

}  // namespace

bool ReadingRecord::IsReaderOf(const std::string& program, const std::string& book_path) {
  return !book_path.empty() && platform::ReaderRegistry::Get().ReaderFor(book_path) == program;
}

bool ReadingRecord::MarkOpened(const std::string& book_path) {
  const size_t slash = book_path.rfind('/');
  if (slash == std::string::npos || slash == 0 || slash + 1 == book_path.size())
    return false;
  const std::string folder = book_path.substr(0, slash);
  const std::string file = book_path.substr(slash + 1);
  const char* current = GetCurrentProfile();
  const std::string profile = current != nullptr && *current != '\0' ? current : "default";
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(HostPath(kLibrary).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) !=
      SQLITE_OK) {
    sqlite3_close(db);
    return false;
  }
  sqlite3_busy_timeout(db, kBusyTimeoutMs);
  bool done = true;
  for (const char* sql : kStatements) done = done && Run(db, sql, folder, file, profile);
  const bool changed = done && sqlite3_changes(db) > 0;
  sqlite3_close(db);
  return changed;
}

}  // namespace marrowleaf::tools
