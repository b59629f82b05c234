#include "platform/utils/Sqlite.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include "platform/utils/IcuCollation.h"

namespace marrowleaf::utilities {
namespace {

class SqliteTest : public ::testing::Test {
 protected:
  SqliteTest() {
    EXPECT_EQ(SQLITE_OK, db_.open(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE));
    EXPECT_EQ(SQLITE_OK, RegisterIcuCollationFunctions(db_.handle()));
  }
  std::vector<std::string> Sorted(const std::string& collation) {
    std::vector<std::string> names;
    auto st = db_.prepare("SELECT name FROM t ORDER BY name COLLATE " + collation + ", rowid");
    while (st && st->step() == SQLITE_ROW) names.push_back(st->columnText(0));
    return names;
  }

  Sqlite db_;
};

TEST_F(SqliteTest, BindingAnIndexThatDoesNotExistThrowsWithSqlitesCode) {
  auto st = db_.prepare("SELECT ?");
  ASSERT_TRUE(st);
  st->bind(1, int64_t{5});
  try {
    st->bind(2, std::string("x"));
    FAIL() << "no exception";
  } catch (const Statement::BindError& error) {
    EXPECT_EQ(SQLITE_RANGE, error.code());
  }
  EXPECT_EQ(SQLITE_ROW, st->step());
  EXPECT_EQ(5, st->columnInt64(0));
}

TEST_F(SqliteTest, KeepsBlobsWithZeroBytesAndReadsNullsAsEmpty) {
  auto st = db_.prepare("SELECT ?, NULL, NULL");
  st->bindBlob(1, std::string("\0a\0", 3));
  ASSERT_EQ(SQLITE_ROW, st->step());
  EXPECT_EQ(std::string("\0a\0", 3), st->columnBlob(0));
  EXPECT_EQ("", st->columnText(1));
  EXPECT_EQ(0, st->columnInt(2));
  EXPECT_TRUE(st->columnIsNull(1));
}

TEST_F(SqliteTest, ExecuteReportsDoneOrTheFailureAndBadSqlDoesNotPrepare) {
  EXPECT_EQ(SQLITE_DONE, db_.execute("CREATE TABLE t (name TEXT)"));
  EXPECT_EQ(SQLITE_DONE, db_.execute("SELECT 1"));
  EXPECT_FALSE(db_.prepare("SELEKT"));
  EXPECT_EQ(SQLITE_ERROR, db_.execute("SELEKT"));
  Sqlite closed;
  EXPECT_FALSE(closed.prepare("SELECT 1"));
}

TEST_F(SqliteTest, LoadsLocaleCollationsAndTheNumericOneComparesDigitRunsAsNumbers) {
  db_.execute("CREATE TABLE t (name TEXT)");
  db_.execute("INSERT INTO t VALUES ('Item 10'), ('item 9'), ('Élan'), ('Zebra'), ('apple')");
  EXPECT_EQ(SQLITE_DONE, db_.execute("SELECT icu_load_collation('en', 'plain')"));
  EXPECT_EQ(SQLITE_DONE, db_.execute("SELECT icu_load_collation_with_numbers('en', 'numeric')"));
  EXPECT_EQ((std::vector<std::string>{"apple", "Élan", "Item 10", "item 9", "Zebra"}),
            Sorted("plain"));
  EXPECT_EQ((std::vector<std::string>{"apple", "Élan", "item 9", "Item 10", "Zebra"}),
            Sorted("numeric"));
  EXPECT_NE(SQLITE_DONE, db_.execute("SELECT icu_load_collation(NULL, 'x')"));
  EXPECT_NE(SQLITE_DONE,
            db_.execute("SELECT icu_load_collation('" + std::string(200, 'e') + "', 'x')"));
}

}  // namespace
}  // namespace marrowleaf::utilities
