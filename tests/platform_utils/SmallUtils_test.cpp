#include <gtest/gtest.h>

#include "platform/utils/CfgWrapper.h"
#include "platform/utils/Crc32Hash.h"
#include "platform/utils/FileRemoval.h"
#include "platform/utils/JsonBookStoreWrapper.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::utilities {
namespace {

using test::TempDeviceRoot;

TEST(Crc32Hash, IsTheCommonIeeeVariant) {
  EXPECT_EQ(0xCBF43926u, crc32hash("123456789"));
  EXPECT_EQ(0u, crc32hash(""));
}

TEST(CfgWrapper, TellsAMissingKeyFromAnEmptyOneAndReadsNothingFromAMissingFile) {
  TempDeviceRoot root;
  root.Write("/mnt/ext1/system/config/x.cfg", "empty=\nname=value\nnumber=12\n");
  CfgWrapper cfg("/mnt/ext1/system/config/x.cfg");
  ASSERT_TRUE(cfg.isOpen());
  std::string value = "unchanged";
  EXPECT_TRUE(cfg.readIfExists("empty", &value));
  EXPECT_EQ("", value);
  EXPECT_FALSE(cfg.readIfExists("missing", &value));
  EXPECT_EQ("value", cfg.read("name"));
  EXPECT_EQ("fallback", cfg.read("missing", "fallback"));
  EXPECT_EQ(12, cfg.readInt("number", 0));
  EXPECT_EQ(3, cfg.readInt("name", 3));

  CfgWrapper missing("/mnt/ext9/none.cfg");
  EXPECT_FALSE(missing.isOpen());
  EXPECT_EQ("d", missing.read("name", "d"));
}

TEST(JsonBookStoreWrapper, ReadsTheStoreIdPricesAndTheirTime) {
  JsonBookStoreWrapper store;
  ASSERT_TRUE(
      store.read("{\"store_id\": \"A1\", \"price\": \"1.99\", \"price_old\": \"2.99\", "
                 "\"price_ts\": \"17\"}"));
  EXPECT_EQ("A1", store.storeId());
  EXPECT_EQ("1.99", store.price());
  EXPECT_EQ("2.99", store.priceOld());
  EXPECT_EQ(17, store.priceTimestamp());
  ASSERT_TRUE(store.read("{\"store_id\": 99}"));
  EXPECT_EQ("99", store.storeId());
  EXPECT_EQ("", store.price());
  EXPECT_EQ(0, store.priceTimestamp());
}

TEST(JsonBookStoreWrapper, RefusesTextsThatAreNoStoreDataAndClearsWhatItHeld) {
  JsonBookStoreWrapper store;
  ASSERT_TRUE(store.read("{\"store_id\": \"A1\"}"));
  EXPECT_FALSE(store.read("[1, 2]"));
  EXPECT_EQ("", store.storeId());
  EXPECT_FALSE(store.read("{\"price\": \"1\"}"));
  EXPECT_FALSE(store.read("{\"store_id\": \"\"}"));
  EXPECT_FALSE(store.read("{\"store_id\": "));
  EXPECT_FALSE(store.read(std::string(100, '[') + std::string(100, ']')));
  EXPECT_FALSE(store.read("{\"store_id\": \"" + std::string(70000, 'x') + "\"}"));
}

TEST(UnlinkFileWithAf, DeletesTheBookWithItsCompanionsAndReportsAMissingOne) {
  TempDeviceRoot root;
  root.Write("/mnt/ext1/Books/a.epub", "book");
  root.Write("/mnt/ext1/Books/a.epub.sdr/state.cfg", "page=3");
  root.Write("/mnt/ext1/Books/b.epub", "other");
  EXPECT_EQ(1, unlink_file_with_af("/mnt/ext1/Books/a.epub"));
  EXPECT_FALSE(root.Exists("/mnt/ext1/Books/a.epub"));
  EXPECT_FALSE(root.Exists("/mnt/ext1/Books/a.epub.sdr"));
  EXPECT_TRUE(root.Exists("/mnt/ext1/Books/b.epub"));
  EXPECT_EQ(0, unlink_file_with_af("/mnt/ext1/Books/a.epub"));
  EXPECT_EQ(0, unlink_file_with_af(""));
}

}  // namespace
}  // namespace marrowleaf::utilities
