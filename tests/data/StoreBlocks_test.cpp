#include <gtest/gtest.h>

#include "data/DataManager.h"
#include "data/StoreBlockLoader.h"
#include "data/StorePageMemory.h"
#include "platform/sdk/config.h"
#include "platform/utils/Crc32Hash.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::desktop {
namespace {

using test::TempDeviceRoot;

const char kGlobal[] = "/mnt/ext1/system/config/global.cfg";

class StoreBlocksTest : public ::testing::Test {
 protected:
  StoreBlocksTest() { root_.Write(kGlobal, ""); }
  void Config(const std::string& text) { root_.Write(StoreBlockLoader::kPath, text); }
  int StoredIndex() { return ReadInt(GetGlobalConfig(), "store_page_index", -99); }

  TempDeviceRoot root_;
  DBManager db_;
  DataManager data_{&db_, nullptr};
};

const char kThreeBlocksSecondEmpty[] =
    "config_version=3\n"
    "promotion_0=picks\npromotion_type_0=books\npromotion_translation_0=Picks\n"
    "picks_url=https://s/picks\n"
    "picks_0_url=https://s/a\npicks_0_id=ignored\npicks_0_title=A\npicks_0_rating=4.5\n"
    "picks_0_price=1.99\npicks_0_is_audio=1\n"
    "picks_1_id=B-1\npicks_1_title=B\n"
    "picks_2_id=C\npicks_3_id=D\npicks_4_id=E\npicks_5_id=F-beyond-the-five-offers-a-row-holds\n"
    "promotion_1=empty\npromotion_type_1=books\n"
    "promotion_2=daily\npromotion_type_2=books\n"
    "daily_0_url=https://s/d\ndaily_0_title=D\n"
    "promotion_3=news\npromotion_type_3=news\nnews_title=No type means no news\n";

TEST_F(StoreBlocksTest, ReadsFormatThreeBooksWithHashedIdsAndASingleOfferAsDetailed) {
  Config(kThreeBlocksSecondEmpty);
  data_.loadStoreBlocks(false);
  ASSERT_EQ(5u, data_.getItemsCount(1000));
  const Book& first = *data_.getItem(1000, 0)->books_[0];
  EXPECT_EQ(std::to_string(utilities::crc32hash("https://s/a")), first.store_id);
  EXPECT_EQ(45, first.rating);
  EXPECT_EQ("1.99", first.store_price);
  EXPECT_TRUE(first.is_audio);
  EXPECT_EQ(0, first.id);
  EXPECT_FALSE(first.settings);
  EXPECT_EQ("B-1", data_.getItem(1000, 1)->books_[0]->store_id);
  EXPECT_EQ(-1, data_.getItem(1000, 1)->books_[0]->rating);
  EXPECT_EQ(ITEM_STORE_BOOK, data_.getItem(1000, 0)->type_);
  EXPECT_EQ(ITEM_STORE_DETAILED, data_.getItem(1002, 0)->type_);
  EXPECT_EQ(0u, data_.getItemsCount(1001));
  EXPECT_EQ(0u, data_.getItemsCount(1003));
  EXPECT_EQ("Picks", data_.getStoreBlockTitle(1000));
  EXPECT_EQ("empty", data_.getStoreBlockTitle(1001));
  EXPECT_EQ("https://s/picks", data_.getStoreBlockUrl(1000));
  EXPECT_EQ("", data_.getStoreBlockUrl(1003));
  EXPECT_EQ("daily", data_.getStoreBlockName(1002));
  EXPECT_EQ("", data_.getStoreBlockName(999));
  EXPECT_EQ("", data_.getStoreBlockName(1004));
}

TEST_F(StoreBlocksTest, TheHeaderStepsOverEmptyBlocksAndWrapsAround) {
  Config(kThreeBlocksSecondEmpty);
  data_.loadStoreBlocks(true);
  EXPECT_EQ(2u, data_.getStoreBlocksCount());
  EXPECT_EQ(1000, data_.getCurrentStoreBlock());
  data_.switchStoreBlock(1);
  EXPECT_EQ(1002, data_.getCurrentStoreBlock());
  EXPECT_EQ(ITEM_STORE_DETAILED, data_.getCurrentStoreBlockType());
  data_.switchStoreBlock(1);
  EXPECT_EQ(1000, data_.getCurrentStoreBlock());
  data_.switchStoreBlock(-1);
  EXPECT_EQ(1002, data_.getCurrentStoreBlock());

  // A reload that empties the block on screen moves to the first block that has offers.
  data_.loadStoreBlocks(false);  // restores this boot's block, once
  data_.switchStoreBlock(1);
  ASSERT_EQ(1002, data_.getCurrentStoreBlock());
  Config(std::string(kThreeBlocksSecondEmpty) + "daily_0_url=\n");
  data_.loadStoreBlocks(false);
  EXPECT_EQ(1u, data_.getStoreBlocksCount());
  EXPECT_EQ(1000, data_.getCurrentStoreBlock());
}

TEST_F(StoreBlocksTest, EachBootStartsOnTheNextBlockAndAReloadRestoresItOnce) {
  Config(kThreeBlocksSecondEmpty);
  EXPECT_TRUE(data_.loadStoreBlocks(false));  // first load of the boot advances
  EXPECT_EQ(1000, data_.getCurrentStoreBlock());
  EXPECT_EQ(0, StoredIndex());
  EXPECT_TRUE(StorePageMemory::MarkerExists());
  EXPECT_TRUE(data_.loadStoreBlocks(true));
  EXPECT_EQ(1002, data_.getCurrentStoreBlock());
  EXPECT_EQ(2, StoredIndex());

  // Another process of the same boot restores block 2 once, then keeps what is on screen.
  DataManager next(&db_, nullptr);
  EXPECT_TRUE(next.loadStoreBlocks(false));
  EXPECT_EQ(1002, next.getCurrentStoreBlock());
  next.switchStoreBlock(1);
  EXPECT_FALSE(next.loadStoreBlocks(false));
  EXPECT_EQ(1000, next.getCurrentStoreBlock());

  // The next boot (no marker) moves on and wraps to the first block.
  std::remove(root_.Host(StorePageMemory::kMarkerPath).c_str());
  DataManager after_boot(&db_, nullptr);
  after_boot.loadStoreBlocks(false);
  EXPECT_EQ(1000, after_boot.getCurrentStoreBlock());
  EXPECT_EQ(0, StoredIndex());
}

TEST_F(StoreBlocksTest, WithoutOffersThereIsNothingToShowOrStep) {
  Config(
      "config_version=3\npromotion_0=a\npromotion_type_0=books\npromotion_1=\n"
      "promotion_2=never_read\n");
  data_.loadStoreBlocks(false);
  EXPECT_EQ(0u, data_.getStoreBlocksCount());
  EXPECT_EQ(1024, data_.getCurrentStoreBlockType());
  data_.switchStoreBlock(1);
  EXPECT_EQ(1000, data_.getCurrentStoreBlock());
  EXPECT_EQ("", data_.getStoreBlockName(1002));

  std::remove(root_.Host(StoreBlockLoader::kPath).c_str());
  data_.loadStoreBlocks(false);
  EXPECT_EQ(0u, data_.getStoreBlocksCount());
  EXPECT_EQ(1024, data_.getCurrentStoreBlockType());
}

TEST_F(StoreBlocksTest, ReadsANewsBlockWithAllItsTexts) {
  Config(
      "config_version=3\npromotion_0=n\npromotion_type_0=news\nn_type=promo\nn_title=T\n"
      "n_subtitle=S\nn_cover=C\nn_desc=D\nn_button=B\nn_url=U\n");
  data_.loadStoreBlocks(false);
  ASSERT_EQ(1u, data_.getStoreBlocksCount());
  EXPECT_EQ(ITEM_STORE_NEWS, data_.getCurrentStoreBlockType());
  const Book& news = *data_.getItem(1000, 0)->books_[0];
  EXPECT_EQ("T|S|C|D|B|U|promo", news.title + "|" + news.author + "|" + news.store_cover + "|" +
                                     news.store_desc + "|" + news.store_button + "|" +
                                     news.store_url + "|" + news.store_type);
  EXPECT_EQ("", data_.getStoreBlockUrl(1000));
}

TEST_F(StoreBlocksTest, FormatTwoReadsSeriesDetailedOffersAndTheWishlist) {
  Config(
      "promotion_0=mw_internal_wishlist\nmw_internal_wishlist_url=W\n"
      "mw_internal_wishlist_0_id=1\nmw_internal_wishlist_0_type=book\n"
      "mw_internal_wishlist_0_title=Solo\n"
      "mw_internal_wishlist_1_id=2\nmw_internal_wishlist_1_is_seria=1\n"
      "mw_internal_wishlist_1_title_0=S0\nmw_internal_wishlist_1_title_3=S3\n"
      "mw_internal_wishlist_1_rating=9\n");
  data_.loadStoreBlocks(false);
  ASSERT_EQ(2u, data_.getItemsCount(1000));
  std::shared_ptr<Item> solo = data_.getItem(1000, 0);
  EXPECT_EQ(ITEM_STORE_DETAILED, solo->type_);
  EXPECT_TRUE(solo->books_[0]->is_wishlist);
  std::shared_ptr<Item> series = data_.getItem(1000, 1);
  EXPECT_TRUE(series->is_seria_);
  ASSERT_EQ(4u, series->books_.size());
  EXPECT_EQ("S0", series->books_[0]->title);
  EXPECT_EQ("S3", series->books_[3]->title);
  EXPECT_EQ(50, series->books_[3]->rating);
  EXPECT_EQ("W", data_.getStoreBlockUrl(1000));
}

TEST(StoreRating, RoundsToHalfStarsWithinZeroToFive) {
  EXPECT_EQ(-1, StoreBlockLoader::Rating(""));
  EXPECT_EQ(0, StoreBlockLoader::Rating("-1"));
  EXPECT_EQ(50, StoreBlockLoader::Rating("9"));
  EXPECT_EQ(50, StoreBlockLoader::Rating("7"));
  EXPECT_EQ(45, StoreBlockLoader::Rating("4.5"));
  EXPECT_EQ(45, StoreBlockLoader::Rating("4.26"));
  EXPECT_EQ(40, StoreBlockLoader::Rating("4.2"));
  EXPECT_EQ(0, StoreBlockLoader::Rating("stars"));
}

}  // namespace
}  // namespace marrowleaf::desktop
