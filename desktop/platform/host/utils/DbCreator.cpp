#include "platform/utils/DbCreator.h"

#include <sqlite3.h>

#include "platform/sdk/files.h"

namespace marrowleaf::utilities {
namespace {

int OpenWithFlags(Sqlite& db, const std::string& device_path, int flags) {
  // FULLMUTEX keeps the connection safe should two threads ever share it; the callers still
  // serialise their statements.
  const int code = db.open(HostPath(device_path), flags | SQLITE_OPEN_FULLMUTEX);
  if (code != SQLITE_OK)
    return code;
  db.setBusyTimeout(DbCreator::kBusyTimeoutMs);
  // A file that is not a database opens fine and fails only on first use; find out now.
  const int check = db.execute("SELECT count(*) FROM sqlite_master;");
  if (check != SQLITE_DONE) {
    db.close();
    return check;
  }
  return 0;
}

}  // namespace

int DbCreator::GetExplorerDb(Sqlite& db, const std::string& device_path) {
  return OpenWithFlags(db, device_path, SQLITE_OPEN_READWRITE);
}

int DbCreator::GetExplorerDbReadOnly(Sqlite& db, const std::string& device_path) {
  return OpenWithFlags(db, device_path, SQLITE_OPEN_READONLY);
}

}  // namespace marrowleaf::utilities
