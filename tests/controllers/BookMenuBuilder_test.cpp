// The entries a book tile's menu offers, as a table of items and device facts, and the texts the
// builder composes.
#include "controllers/BookMenuBuilder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "views/popup_menu/PopupMenuItemData.h"

namespace marrowleaf::desktop {
namespace {

using B = BookMenuBuilder;
constexpr int kOpenWith = 0;  // the entry that opens the readers' submenu

struct BookShape {
  const char* path = "/mnt/ext1/Books/book.epub";
  bool local = true;
  bool cloud = false;
  bool sample = false;
  int completed = 0;  // -1: no reading state
  const char* loan_id = "";
  int loan_exp = 0;
  int drm = 0;
};

std::shared_ptr<Item> MakeItem(int type, const BookShape& shape) {
  auto book = std::make_shared<Book>();
  book->id = 7;
  book->path = shape.path;
  book->title = "A Title";
  book->local = shape.local;
  book->cloud = shape.cloud;
  book->is_sample = shape.sample;
  book->loan_id = shape.loan_id;
  book->loan_exp = shape.loan_exp;
  book->drm = shape.drm;
  book->store_price = "4.99 EUR";
  if (shape.completed >= 0) {
    book->settings = std::make_shared<BookSettings>();
    book->settings->completed = shape.completed;
  }
  auto item = std::make_shared<Item>();
  item->type_ = type;
  item->books_count_ = type == ITEM_ADDED_GROUP ? 3 : 1;
  item->books_.push_back(book);
  return item;
}

utilities::LCPData Licence(bool status, int64_t end, bool renew) {
  utilities::LCPData data;
  data.parsed_ = true;
  data.license_.has_status_ = status;
  data.license_.end_ = end;
  data.license_.has_renew_ = renew;
  return data;
}

std::vector<int> Actions(const PopupMenuItemDataList& menu) {
  std::vector<int> actions;
  for (const auto& entry : menu.items) actions.push_back(entry->action);
  return actions;
}

struct Case {
  const char* what;
  int type;
  BookShape book;
  B::Facts facts;
  std::vector<int> expected;
};

B::Facts Readers() {
  B::Facts facts;
  facts.handlers = {"Reader", "FBReader"};
  facts.now = 1000;
  return facts;
}

B::Facts WithCloud(B::Facts facts) {
  facts.has_cloud_storages = true;
  return facts;
}

B::Facts WithLicence(B::Facts facts, const utilities::LCPData& licence) {
  facts.lcp = licence;
  return facts;
}

TEST(BookMenuBuilderTest, TheMenuOffersWhatTheItemAndTheDeviceAllow) {
  BookShape opened;
  BookShape read = opened;
  read.completed = 1;
  BookShape unread_no_state = opened;
  unread_no_state.completed = -1;
  BookShape sample = opened;
  sample.sample = true;
  BookShape cloud_only = opened;
  cloud_only.local = false;
  cloud_only.cloud = true;
  BookShape local_and_cloud = opened;
  local_and_cloud.cloud = true;
  BookShape lent = opened;
  lent.loan_id = "loan-1";
  lent.loan_exp = 2000;
  BookShape lent_without_end = lent;
  lent_without_end.loan_exp = 0;
  BookShape pdf = opened;
  pdf.path = "/mnt/ext1/Books/doc.PDF";
  BookShape protected_pdf = pdf;
  protected_pdf.drm = 1;
  BookShape lcpl = opened;
  lcpl.path = "/mnt/ext1/Books/loan.lcpl";
  BookShape group_of_lent_cloud_samples = lent;
  group_of_lent_cloud_samples.cloud = true;
  group_of_lent_cloud_samples.sample = true;

  const Case cases[] = {
      {"an opened local book", ITEM_OPENED, opened, Readers(),
       {B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kDelete}},
      {"with a cloud storage it can be uploaded", ITEM_OPENED, opened, WithCloud(Readers()),
       {B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kUploadToCloud,
        B::kDelete}},
      {"a read book offers to clear the mark", ITEM_ADDED, read, Readers(),
       {B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kClearMark, B::kDelete}},
      {"without a reading state there is no mark", ITEM_ADDED, unread_no_state, Readers(),
       {B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kDelete}},
      {"a sample is bought first and never uploaded", ITEM_OPENED, sample, WithCloud(Readers()),
       {B::kBuy, B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kDelete}},
      {"a book only in the cloud: removed from the cloud, not deleted or uploaded", ITEM_OPENED,
       cloud_only, WithCloud(Readers()),
       {B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kRemoveFromCloud}},
      {"a book on the device and in the cloud", ITEM_OPENED, local_and_cloud,
       WithCloud(Readers()),
       {B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kDelete,
        B::kRemoveFromCloud}},
      {"a lent book is returned", ITEM_OPENED, lent, Readers(),
       {B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kDelete,
        B::kLoanReturn}},
      {"a loan needs an end", ITEM_OPENED, lent_without_end, Readers(),
       {B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kDelete}},
      {"an LCP loan of an EPUB that may be renewed", ITEM_OPENED, opened,
       WithLicence(Readers(), Licence(true, 5000, true)),
       {B::kRemoveFromHome, B::kLcpReturn, B::kLcpRenew, kOpenWith, B::kBookInfo, B::kMarkAsRead,
        B::kDelete}},
      {"an LCP loan that has ended is returned, not renewed", ITEM_OPENED, opened,
       WithLicence(Readers(), Licence(true, 500, true)),
       {B::kRemoveFromHome, B::kLcpReturn, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kDelete}},
      {"an LCP licence without a status document offers nothing", ITEM_OPENED, opened,
       WithLicence(Readers(), Licence(false, 5000, true)),
       {B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kDelete}},
      {"a bought LCP book is not lent", ITEM_OPENED, opened,
       WithLicence(Readers(), Licence(true, 0, false)),
       {B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kDelete}},
      {"a licence file is returned but only an EPUB renews", ITEM_ADDED, lcpl,
       WithLicence(Readers(), Licence(true, 5000, true)),
       {B::kRemoveFromHome, B::kLcpReturn, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kDelete}},
      {"a PDF opens with other readers", ITEM_OPENED, pdf, Readers(),
       {B::kRemoveFromHome, kOpenWith, B::kBookInfo, B::kMarkAsRead, B::kDelete}},
      {"a protected PDF opens only in its own reader", ITEM_OPENED, protected_pdf, Readers(),
       {B::kRemoveFromHome, B::kBookInfo, B::kMarkAsRead, B::kDelete}},
      {"a type no reader lists offers no choice", ITEM_OPENED, opened, B::Facts(),
       {B::kRemoveFromHome, B::kBookInfo, B::kMarkAsRead, B::kDelete}},
      {"a group: never loans, readers, cloud or upload; always remove and delete",
       ITEM_ADDED_GROUP, group_of_lent_cloud_samples,
       WithCloud(WithLicence(Readers(), Licence(true, 5000, true))),
       {B::kBuy, B::kRemoveFromHome, B::kBookInfo, B::kMarkAsRead, B::kDelete}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PopupMenuItemDataList menu;
    B::Build(*MakeItem(c.type, c.book), c.facts, menu);
    EXPECT_EQ(Actions(menu), c.expected);
    EXPECT_EQ(menu.placement, PopupMenuItemDataList::kRight | PopupMenuItemDataList::kLeft);
  }
}

TEST(BookMenuBuilderTest, TextsAndExtensionsAreReadSafely) {
  EXPECT_EQ(B::BuyText("Buy for %s instead of %strike", "4.99 EUR", "8.99 EUR"),
            "Buy for 4.99 EUR instead of 8.99 EUR");
  EXPECT_EQ(B::BuyText("Buy for %s", "4.99 EUR", ""), "Buy for 4.99 EUR");
  // A price is data, never a format.
  EXPECT_EQ(B::BuyText("Buy for %s", "%s%n%d", ""), "Buy for %s%n%d");
  const std::string long_price(400, 'x');
  EXPECT_EQ(B::BuyText("%s", long_price, "").size(), B::kMaxBuyTextBytes);
  // A cut never splits a character.
  std::string pairs;
  for (int i = 0; i < 200; ++i) pairs += "\xd0\x96";
  const std::string cut = B::BuyText("%s", pairs, "");
  EXPECT_EQ(cut.size() % 2, 0u);
  EXPECT_LE(cut.size(), B::kMaxBuyTextBytes);
  EXPECT_EQ(B::Extension("/mnt/ext1/Books/Doc.PdF"), "pdf");
  EXPECT_EQ(B::Extension("/mnt/ext1/my.books/readme"), "");
  EXPECT_EQ(B::Extension("/mnt/ext1/Books/archive.tar.gz"), "gz");
}

}  // namespace
}  // namespace marrowleaf::desktop
