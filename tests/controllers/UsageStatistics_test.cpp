// Partner usage events: recorded only for the partners that collect them, for their books, once
// the reader signed in.
#include "controllers/UsageStatistics.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

#include "platform/sdk/device.h"
#include "support/JournalReader.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::desktop {
namespace {

class UsageStatisticsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_.MakeFolder("/mnt/ext1/system/explorer-3");
    sqlite3* db = nullptr;
    ASSERT_EQ(SQLITE_OK, sqlite3_open(root_.Host("/mnt/ext1/system/explorer-3/explorer-3.db").c_str(), &db));
    ASSERT_EQ(SQLITE_OK, sqlite3_exec(db,
                                      "CREATE TABLE file_props (fast_hash BLOB, prop_type INTEGER, value TEXT);"
                                      "INSERT INTO file_props VALUES (x'6831', 13, 'EG-77');",
                                      nullptr, nullptr, nullptr));
    sqlite3_close(db);
    root_.Write(UsageStatistics::kInfoPath, "user_email=reader@example.org\n");
    Partner(UsageStatistics::PARTNER_EMPIKGO);
    partner_book_->fast_hash = "h1";
    other_book_->fast_hash = "h2";
  }
  void TearDown() override { ReloadDeviceProfile(); }
  void Partner(int partner) {
    root_.Write("/.sim/device.cfg", "partner=" + std::to_string(partner) + "\n");
    ReloadDeviceProfile();
  }
  std::vector<Json::Value> Usage() const { return test::JournalReader(root_.HostRoot()).Events("usage"); }

  test::TempDeviceRoot root_;
  UsageStatistics statistics_;
  std::shared_ptr<Book> partner_book_ = std::make_shared<Book>();
  std::shared_ptr<Book> other_book_ = std::make_shared<Book>();
};

TEST_F(UsageStatisticsTest, OpeningAPartnersBookRecordsItWithTheReader) {
  statistics_.StoreEvent(partner_book_, "product_open");
  statistics_.StoreEvent(partner_book_, "product_finish");
  const auto usage = Usage();
  ASSERT_EQ(usage.size(), 2u);
  EXPECT_EQ(usage[0]["source"].asString(), "empik-2");
  EXPECT_EQ(usage[0]["component"].asString(), "desktop");
  EXPECT_EQ(usage[0]["parameters"]["product_id"].asString(), "EG-77");
  EXPECT_EQ(usage[0]["parameters"]["destination"].asString(), "MW_dashboard");
  EXPECT_EQ(usage[0]["parameters"]["user_id"].asString(), "reader@example.org");
  EXPECT_EQ(usage[1]["name"].asString(), "product_finish");
  EXPECT_FALSE(usage[1]["parameters"].isMember("user_id")) << "a finish names no reader";
  EXPECT_TRUE(root_.Exists("/mnt/ext1/system/statistics/usage_events.json"));
}

TEST_F(UsageStatisticsTest, NothingIsRecordedWithoutEveryPieceOfData) {
  statistics_.StoreEvent(other_book_, "product_open");
  statistics_.StoreEvent(partner_book_, "");
  statistics_.StoreEvent(nullptr, "product_open");
  Partner(0);
  statistics_.StoreEvent(partner_book_, "product_open");
  Partner(UsageStatistics::PARTNER_LEGIMI);
  root_.Write(UsageStatistics::kInfoPath, "user_email=\n");
  statistics_.StoreEvent(partner_book_, "product_open");
  EXPECT_TRUE(Usage().empty());
  root_.Write(UsageStatistics::kInfoPath, "user_email=a@b.c\n");
  statistics_.StoreEvent(partner_book_, "product_download");
  EXPECT_EQ(Usage().size(), 1u) << "the other partner collects them too";
}

}  // namespace
}  // namespace marrowleaf::desktop
