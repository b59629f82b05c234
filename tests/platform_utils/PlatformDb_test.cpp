#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/utils/DbCreator.h"
#include "platform/utils/DbManager.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::utilities {
namespace {

using test::TempDeviceRoot;

const char kDb[] = "/mnt/ext1/system/explorer-3/explorer-3.db";

void MakeDatabase(const TempDeviceRoot& root, const std::string& sql) {
  root.MakeFolder("/mnt/ext1/system/explorer-3");
  sqlite3* db = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open(root.Host(kDb).c_str(), &db));
  ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr));
  sqlite3_close(db);
}

TEST(DbCreator, NeverCreatesAMissingDatabaseAndRefusesAFileThatIsNone) {
  TempDeviceRoot root;
  root.MakeFolder("/mnt/ext1/system/explorer-3");
  Sqlite db;
  EXPECT_NE(0, DbCreator::GetExplorerDb(db, kDb));
  EXPECT_FALSE(db.isOpen());
  EXPECT_FALSE(root.Exists(kDb));
  root.Write(kDb, "this is not a database, it is a text file long enough to look like one");
  EXPECT_NE(0, DbCreator::GetExplorerDb(db, kDb));
  EXPECT_FALSE(db.isOpen());
  // A path that is no device path never becomes a database elsewhere, not even a private one.
  for (const char* refused : {":memory:", "", "explorer-3.db"}) {
    EXPECT_NE(0, DbCreator::GetExplorerDb(db, refused)) << refused;
    EXPECT_FALSE(db.isOpen()) << refused;
  }
}

TEST(DbCreator, OpensTheDatabaseUnderTheDeviceRootForWriting) {
  TempDeviceRoot root;
  MakeDatabase(root, "CREATE TABLE x (a); INSERT INTO x VALUES (1);");
  Sqlite db;
  ASSERT_EQ(0, DbCreator::GetExplorerDb(db, kDb));
  EXPECT_EQ(SQLITE_DONE, db.execute("INSERT INTO x VALUES (2)"));
  EXPECT_EQ(1, db.changes());
}

TEST(DbManager, LocalStoragesArePresentWhileTheirFolderExistsAndCloudOnesAlways) {
  TempDeviceRoot root;
  EXPECT_TRUE(db::DbManager::Instance()->GetCurrentStorageIds().empty());
  MakeDatabase(root,
               "CREATE TABLE storages (id INTEGER PRIMARY KEY, type INTEGER, name TEXT, path TEXT);"
               "INSERT INTO storages VALUES (1, 1, 'i', '/mnt/ext1'), (2, 1, 'c', '/mnt/ext2'),"
               "(3, 1, 'u', '/mnt/ext3'), (7, 2, 'cloud', ''), (8, 1, 'blank', '');");
  EXPECT_EQ((std::vector<int64_t>{1, 7}), db::DbManager::Instance()->GetCurrentStorageIds());
  root.MakeFolder("/mnt/ext3");
  EXPECT_EQ((std::vector<int64_t>{1, 3, 7}), db::DbManager::Instance()->GetCurrentStorageIds());
  EXPECT_EQ((std::vector<int64_t>{7}), db::DbManager::Instance()->GetCloudStorageIds());
}

TEST(DbManager, FilePropertiesAreFoundByTheFilesHashAndKind) {
  TempDeviceRoot root;
  EXPECT_EQ("", db::DbManager::Instance()->GetFileProp("h1", db::kFilePropPartnerId));
  MakeDatabase(root,
               "CREATE TABLE file_props (fast_hash BLOB, prop_type INTEGER, value TEXT);"
               "INSERT INTO file_props VALUES (x'6831', 13, 'EG-1'), (x'6831', 18, '{}'),"
               "(x'6832', 18, '{}');");
  EXPECT_EQ("EG-1", db::DbManager::Instance()->GetFileProp("h1", db::kFilePropPartnerId));
  EXPECT_EQ("", db::DbManager::Instance()->GetFileProp("h2", db::kFilePropPartnerId));
  EXPECT_EQ("", db::DbManager::Instance()->GetFileProp("", db::kFilePropPartnerId));
}

}  // namespace
}  // namespace marrowleaf::utilities
