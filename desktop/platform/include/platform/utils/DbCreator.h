#pragma once

#include <string>

#include "platform/utils/Sqlite.h"

namespace marrowleaf::utilities {

// Opens the library database that the device's file indexer keeps. The file is never created: a
// missing database stays missing, and the home screen then shows empty lists.
class DbCreator {
 public:
  static constexpr const char* kExplorerDbPath = "/mnt/ext1/system/explorer-3/explorer-3.db";
  // How long a statement waits for the indexer's write lock before it fails with SQLITE_BUSY.
  static constexpr int kBusyTimeoutMs = 2000;

  // Opens the device path read-write (without creating it) and sets the busy timeout. 0 on success,
  // else SQLite's code (the connection is then closed).
  static int GetExplorerDb(Sqlite& db, const std::string& device_path);
  // The same, read-only, for readers that never write.
  static int GetExplorerDbReadOnly(Sqlite& db, const std::string& device_path);
};

}  // namespace marrowleaf::utilities
