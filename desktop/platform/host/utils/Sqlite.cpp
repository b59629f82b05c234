#include "platform/utils/Sqlite.h"

#include <sqlite3.h>

#include "platform/sdk/log.h"

namespace marrowleaf::utilities {

Sqlite::~Sqlite() {
  close();
}

int Sqlite::open(const std::string& host_path, int flags) {
  close();
  const int code = sqlite3_open_v2(host_path.c_str(), &db_, flags, nullptr);
  if (code != SQLITE_OK)
    close();
  return code;
}

void Sqlite::close() {
  // Statements handed out keep their own reference to the connection's memory only while it is
  // open; sqlite3_close_v2 defers the close until the last of them is finalised.
  if (db_ != nullptr)
    sqlite3_close_v2(db_);
  db_ = nullptr;
}

int Sqlite::setBusyTimeout(int milliseconds) {
  return db_ ? sqlite3_busy_timeout(db_, milliseconds) : SQLITE_MISUSE;
}

std::shared_ptr<Statement> Sqlite::prepare(const std::string& sql) {
  if (db_ == nullptr)
    return nullptr;
  sqlite3_stmt* statement = nullptr;
  const int code =
      sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()) + 1, &statement, nullptr);
  if (code != SQLITE_OK || statement == nullptr) {
    MW_LOG(MW_LOG_ERROR, "prepare failed [%d] [%s]\n", code, sqlite3_errmsg(db_));
    sqlite3_finalize(statement);
    return nullptr;
  }
  return std::make_shared<Statement>(statement);
}

int Sqlite::execute(const std::string& sql) {
  std::shared_ptr<Statement> statement = prepare(sql);
  if (!statement)
    return SQLITE_ERROR;
  int code = SQLITE_ROW;
  while (code == SQLITE_ROW) code = statement->step();
  return code;
}

int Sqlite::changes() const {
  return db_ ? sqlite3_changes(db_) : 0;
}

int64_t Sqlite::lastInsertRowId() const {
  return db_ ? sqlite3_last_insert_rowid(db_) : 0;
}

std::string Sqlite::lastError() const {
  return db_ ? sqlite3_errmsg(db_) : "no connection";
}

}  // namespace marrowleaf::utilities
