#include "platform/utils/DbCreator.h"

#include <sqlite3.h>

#include "platform/sdk/files.h"

namespace marrowleaf::utilities {
namespace {

int OpenWithFlags(Sqlite& db, const std::string& device_path, int flags) {
  // FULLMUTEX keeps the connection safe should two threads ever share it; the callers still
  // serialise their statements.
  // SQLite takes an empty name for a private temporary database: a refused path must fail here.
  const std::string host_path = HostPath(device_path);
  if (host_path.empty())
    return SQLITE_CANTOPEN;
  const int code = db.open(host_path, flags | SQLITE_OPEN_FULLMUTEX);
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
