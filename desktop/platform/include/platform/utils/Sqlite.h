#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/utils/Statement.h"

struct sqlite3;

namespace marrowleaf::utilities {

// One SQLite connection. The object is not thread-safe: its owner serialises the calls.
class Sqlite {
 public:
  Sqlite() = default;
  ~Sqlite();
  Sqlite(const Sqlite&) = delete;
  Sqlite& operator=(const Sqlite&) = delete;

  // Opens a host file with sqlite3_open_v2 flags; SQLite's result code. A connection already open
  // is closed first.
  int open(const std::string& host_path, int flags);
  void close();
  bool isOpen() const { return db_ != nullptr; }
  int setBusyTimeout(int milliseconds);

  // The prepared statement, or an empty pointer (logged) when the text can't be prepared or no
  // connection is open.
  std::shared_ptr<Statement> prepare(const std::string& sql);
  // Runs a statement to its end. SQLITE_DONE when every step succeeded, otherwise the failing code
  // (SQLITE_ERROR also when there is no connection).
  int execute(const std::string& sql);

  int changes() const;
  int64_t lastInsertRowId() const;
  std::string lastError() const;
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

}  // namespace marrowleaf::utilities
