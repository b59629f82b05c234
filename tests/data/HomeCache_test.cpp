#include "data/HomeCache.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/TempDeviceRoot.h"

namespace marrowleaf::desktop {
namespace {

using test::TempDeviceRoot;

std::shared_ptr<Book> MakeBook(int64_t id, const std::string& title) {
  auto book = std::make_shared<Book>();
  book->id = id;
  book->title = title;
  book->path = "/mnt/ext1/Books/" + title + ".epub";
  book->author = "Writer \"Quoted\"\nSecond line";
  book->settings = std::make_shared<BookSettings>();
  book->settings->cpage = 3;
  book->settings->npage = 9;
  book->settings->opentime = 555;  // not cached
  book->fast_hash = std::string("\x00\x01\xff\x00", 4);
  book->resource_id = std::string("\x10\x00", 2);
  book->cloud = true;
  book->cloud_ext = "pdf";
  book->local = false;
  book->loan_exp = 1900000000;
  book->loan_id = "L1";
  book->drm = 1;
  return book;
}

std::shared_ptr<Item> MakeItem(int32_t type, int32_t count, int64_t ts, Items::size_type books) {
  auto item = std::make_shared<Item>();
  item->type_ = type;
  item->books_count_ = count;
  item->timestamp_ = ts;
  for (Items::size_type k = 0; k < books; ++k) {
    item->books_.push_back(MakeBook(ts * 10 + static_cast<int64_t>(k), "T" + std::to_string(k)));
  }
  return item;
}

TEST(HomeCache, RoundTripsEveryCachedFieldByteForByte) {
  TempDeviceRoot root;
  // Times after 2038 are kept whole (the opened item's time and its loan's end).
  const int64_t in_2100 = 4102444800;
  Items items = {MakeItem(ITEM_OPENED, 1, in_2100, 1), MakeItem(ITEM_ADDED_GROUP, 30, 90, 23),
                 MakeItem(ITEM_MORE, 0, 0, 0)};
  items[0]->books_[0]->loan_exp = in_2100 + 1;
  items[0]->books_[0]->is_sample = true;
  items[0]->books_[0]->store_id = "S1";
  items[0]->books_[0]->store_price = "1.99";
  items[0]->books_[0]->store_price_old = "2.99";
  ASSERT_TRUE(HomeCache::Save(items));

  Items loaded = HomeCache::Load();
  ASSERT_EQ(3u, loaded.size());
  // Every cached field, in one line; the open time is not cached and the rating has no value.
  auto fields = [](const Item& item) {
    const Book& b = *item.books_[0];
    return std::to_string(item.timestamp_) + "|" + std::to_string(b.id) + "|" + b.path + "|" +
           b.author + "|" + b.fast_hash + "|" + b.resource_id + "|" +
           std::to_string(b.settings->cpage) + "/" + std::to_string(b.settings->npage) + "/" +
           std::to_string(b.settings->opentime) + "|" + std::to_string(b.cloud) +
           std::to_string(b.local) + b.cloud_ext + "|" + std::to_string(b.loan_exp) + b.loan_id +
           "|" + std::to_string(b.drm) + std::to_string(b.is_sample) + b.store_id + b.store_price +
           "/" + b.store_price_old + "|" + std::to_string(b.rating);
  };
  items[0]->books_[0]->settings->opentime = 0;
  EXPECT_EQ(fields(*items[0]), fields(*loaded[0]));
  // A group keeps its count but only its first three books.
  EXPECT_EQ(30, loaded[1]->books_count_);
  EXPECT_EQ(3u, loaded[1]->books_.size());
  EXPECT_EQ(ITEM_MORE, loaded[2]->type_);
  EXPECT_TRUE(loaded[2]->books_.empty());
}

TEST(HomeCache, AShorterSaveLeavesNoItemsOfTheLongerOneBehind) {
  TempDeviceRoot root;
  ASSERT_TRUE(HomeCache::Save({MakeItem(ITEM_ADDED, 1, 3, 1), MakeItem(ITEM_ADDED, 1, 2, 1),
                               MakeItem(ITEM_ADDED, 1, 1, 1)}));
  ASSERT_TRUE(HomeCache::Save({MakeItem(ITEM_OPENED, 1, 9, 1)}));
  Items loaded = HomeCache::Load();
  ASSERT_EQ(1u, loaded.size());
  EXPECT_EQ(9, loaded[0]->timestamp_);
  EXPECT_EQ(std::string::npos, root.Read(HomeCache::kPath).find("item.2."));
  EXPECT_FALSE(root.Exists(std::string(HomeCache::kPath) + ".new"));
}

TEST(HomeCache, IgnoresOtherVersionsAndStoreKeysOfBooksThatAreNoSamples) {
  TempDeviceRoot root;
  root.Write(HomeCache::kPath, "item.1.type=2\nitem.1.book.1.id=5\n");
  EXPECT_TRUE(HomeCache::Load().empty());
  root.Write(HomeCache::kPath, "version=1\nitem.1.type=2\nitem.1.book.1.id=5\n");
  EXPECT_TRUE(HomeCache::Load().empty());

  root.Write(HomeCache::kPath,
             "version=2\nitem.1.type=2\nitem.1.book.1.id=5\nitem.1.book.1.is_sample=0\n"
             "item.1.book.1.store_id=S\nitem.1.book.1.store_price=1\n");
  Items loaded = HomeCache::Load();
  ASSERT_EQ(1u, loaded.size());
  const Book& book = *loaded[0]->books_[0];
  EXPECT_EQ("", book.store_id);
  EXPECT_EQ("", book.store_price);
  EXPECT_TRUE(book.local);  // missing keys read as their defaults
  ASSERT_TRUE(book.settings);
}

TEST(HomeCache, ReadsWhatComesBeforeDamageAMissingTypeOrABookWithoutId) {
  TempDeviceRoot root;
  root.Write(HomeCache::kPath,
             "version=2\n"
             "item.1.type=5\nitem.1.books_count=4\nitem.1.book.1.id=1\nitem.1.book.2.id=0\n"
             "item.1.book.3.id=3\n"
             "item.2.type=2\nitem.2.book.1.id=-4\n"
             "item.3.type=1\nitem.3.book.1.id=8\n"
             "item.5.type=1\nitem.5.book.1.id=9\n");
  Items loaded = HomeCache::Load();
  ASSERT_EQ(3u, loaded.size());
  EXPECT_EQ(1u, loaded[0]->books_.size());  // a group stops at its first missing book
  EXPECT_TRUE(loaded[1]->books_.empty());   // kept without its book
  EXPECT_EQ(8, loaded[2]->books_[0]->id);

  root.Write(HomeCache::kPath,
             "version=2\nitem.1.type=1\nitem.1.book.1.id=8\n\x01\x02garbage\n"
             "item.2.type=1\nitem.2.book.1.id=9\n");
  EXPECT_EQ(2u, HomeCache::Load().size()) << "a damaged line costs only itself";
}

TEST(HomeCache, KeepsEveryTextAsWrittenAndOlderFilesStayReadable) {
  TempDeviceRoot root;
  const std::vector<std::string> texts = {
      "",
      "plain title",
      " tabs\tand\nlines ",
      "carriage\rreturn",
      std::string("nul\0inside", 11),
      "\x01\x1f\x7f controls",
      std::string(16 * 1024, 'p'),
      std::string(16 * 1024 + 1, 'q'),
      std::string(100 * 1024, 'L') + "\r",
  };
  Items items;
  for (const std::string& text : texts) {
    items.push_back(MakeItem(ITEM_OPENED, 1, static_cast<int32_t>(items.size()) + 1, 1));
    Book& book = *items.back()->books_[0];
    book.title = text;
    book.path = "/mnt/ext1/Books/" + text;
    book.loan_id = text;
  }
  ASSERT_TRUE(HomeCache::Save(items));
  Items loaded = HomeCache::Load();
  ASSERT_EQ(texts.size(), loaded.size());
  for (size_t i = 0; i < texts.size(); ++i) {
    const Book& book = *loaded[i]->books_[0];
    EXPECT_EQ(texts[i], book.title) << i;
    EXPECT_EQ("/mnt/ext1/Books/" + texts[i], book.path) << i;
    EXPECT_EQ(texts[i], book.loan_id) << i;
  }
  // A text stored as it is stays where a reader of older files finds it.
  EXPECT_NE(std::string::npos,
            root.Read(HomeCache::kPath).find("item.2.book.1.title=plain title\n"));

  // A damaged piece gives no text rather than a wrong one.
  root.Write(HomeCache::kPath,
             "version=2\nitem.1.type=2\nitem.1.book.1.id=8\nitem.1.book.1.title.pieces=2\n"
             "item.1.book.1.title.hex.1=4142\nitem.1.book.1.title.hex.2=4x\n");
  loaded = HomeCache::Load();
  ASSERT_EQ(1u, loaded.size());
  EXPECT_EQ("", loaded[0]->books_[0]->title);
}

TEST(HomeCache, ReadsNoMoreThanFiftyItems) {
  TempDeviceRoot root;
  Items items;
  for (int i = 0; i < 60; ++i) items.push_back(MakeItem(ITEM_MORE, 0, i, 0));
  ASSERT_TRUE(HomeCache::Save(items));
  EXPECT_EQ(50u, HomeCache::Load().size());
}

}  // namespace
}  // namespace marrowleaf::desktop
