#include "platform/utils/DbManager.h"

#include <sys/stat.h>

#include <sqlite3.h>

#include "platform/sdk/files.h"
#include "platform/utils/DbCreator.h"

namespace marrowleaf::utilities::db {
namespace {

bool FolderExists(const std::string& device_path) {
  struct stat info {};
  return !device_path.empty() && stat(HostPath(device_path).c_str(), &info) == 0 &&
         S_ISDIR(info.st_mode);
}

}  // namespace

DbManager* DbManager::Instance() {
  static DbManager* instance = new DbManager();
  return instance;
}

std::vector<int64_t> DbManager::GetCurrentStorageIds() const {
  return ReadStorages(true, true);
}

std::vector<int64_t> DbManager::GetCloudStorageIds() const {
  return ReadStorages(false, true);
}

std::vector<int64_t> DbManager::ReadStorages(bool local, bool cloud) const {
  std::vector<int64_t> ids;
  Sqlite db;
  if (DbCreator::GetExplorerDbReadOnly(db, DbCreator::kExplorerDbPath) != 0)
    return ids;
  std::shared_ptr<Statement> statement =
      db.prepare("SELECT id, type, path FROM storages ORDER BY id");
  if (!statement)
    return ids;
  while (statement->step() == SQLITE_ROW) {
    const int type = statement->columnInt(1);
    const bool wanted =
        (local && type == kLocalStorage && FolderExists(statement->columnText(2))) ||
        (cloud && type == kCloudStorage);
    if (wanted)
      ids.push_back(statement->columnInt64(0));
  }
  return ids;
}

std::string DbManager::GetFileProp(const std::string& fast_hash, int prop_type) const {
  Sqlite db;
  if (fast_hash.empty() || DbCreator::GetExplorerDbReadOnly(db, DbCreator::kExplorerDbPath) != 0)
    return std::string();
  std::shared_ptr<Statement> statement =
      db.prepare("SELECT value FROM file_props WHERE fast_hash = ? AND prop_type = ?");
  if (!statement)
    return std::string();
  try {
    statement->bindBlob(1, fast_hash);
    statement->bind(2, static_cast<int64_t>(prop_type));
  } catch (const Statement::BindError&) {
    return std::string();
  }
  return statement->step() == SQLITE_ROW ? statement->columnText(0) : std::string();
}

}  // namespace marrowleaf::utilities::db
