// The sample library of make-sample-device, read back through the home screen's own queries. The
// generator is compiled into this test until the tool and its tests are wired together.
#include "SampleLibrary.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <chrono>
#include <map>

#include "data/DBManager.h"
#include "data/DataManager.h"
#include "platform/utils/CfgWrapper.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::desktop {
namespace {

using test::TempDeviceRoot;

int CountBooks(const TempDeviceRoot& root) {
  sqlite3* db = nullptr;
  sqlite3_open(root.Host("/mnt/ext1/system/explorer-3/explorer-3.db").c_str(), &db);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT count(*) FROM books_impl", -1, &st, nullptr);
  const int count = st && sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int(st, 0) : -1;
  sqlite3_finalize(st);
  sqlite3_close(db);
  return count;
}

TEST(SampleLibrary, CoversEveryKindOfHomeScreenTileWithFilesThatExist) {
  TempDeviceRoot root;
  std::string error;
  ASSERT_TRUE(tools::WriteSampleLibrary(root.HostRoot(), 0, &error)) << error;
  DBManager db;
  db.init();
  Items items = db.getBookItems(50);
  std::map<int32_t, int> types;
  std::map<int32_t, int> group_sizes;
  bool sample = false, loan = false, cloud_only = false, card = false, acsm = false,
       progress = false;
  for (const auto& item : items) {
    ++types[item->type_];
    if (item->type_ == ITEM_ADDED_GROUP)
      ++group_sizes[item->books_count_];
    if (item->books_.empty())
      continue;
    const Book& book = *item->books_[0];
    sample |= book.is_sample && !book.store_price.empty();
    loan |= book.loan_exp > 0 && !book.loan_id.empty();
    cloud_only |= book.cloud && !book.local;
    card |= book.path.rfind("/mnt/ext2/", 0) == 0;
    acsm |= book.path.size() > 5 && book.path.substr(book.path.size() - 5) == ".acsm";
    progress |= book.settings->cpage > 0 && book.settings->favorite == 1;
    if (book.local) {
      EXPECT_TRUE(root.Exists(book.path)) << book.path;
    }
  }
  EXPECT_GE(types[ITEM_OPENED], 8);
  EXPECT_GE(types[ITEM_ADDED], 6);
  EXPECT_EQ(1, group_sizes[2]);
  EXPECT_EQ(1, group_sizes[4]);
  EXPECT_EQ(1, group_sizes[30]);
  EXPECT_TRUE(sample && loan && cloud_only && card && acsm && progress);
  EXPECT_GT(db.getNotViewedNotificationsCount(), 0);
  EXPECT_EQ(60, CountBooks(root));

  DataManager data(&db, nullptr);
  data.loadStoreBlocks(false);
  ASSERT_EQ(3u, data.getStoreBlocksCount());
  EXPECT_EQ(ITEM_STORE_BOOK, data.getItem(1000, 0)->type_);
  EXPECT_EQ(4u, data.getItemsCount(1000));
  EXPECT_EQ(ITEM_STORE_DETAILED, data.getItem(1001, 0)->type_);
  EXPECT_EQ(ITEM_STORE_NEWS, data.getItem(1002, 0)->type_);
}

TEST(SampleLibrary, GeneratesLargeLibrariesAndReplacesAnEarlierOne) {
  TempDeviceRoot root;
  std::string error;
  ASSERT_TRUE(tools::WriteSampleLibrary(root.HostRoot(), 0, &error)) << error;
  ASSERT_TRUE(tools::WriteSampleLibrary(root.HostRoot(), 3000, &error)) << error;
  EXPECT_EQ(3000, CountBooks(root));
  EXPECT_TRUE(root.Exists("/mnt/ext1/Library/6/Generated Book 2940.fb2"));
  DBManager db;
  db.init();
  EXPECT_EQ(20u, db.getBookItems(20).size());
}

}  // namespace
}  // namespace marrowleaf::desktop
