// A book tile as the reader sees it: which of its parts show for each kind of item, what they say,
// and how a press turns into the tile's commands.
#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "ViewTestRoot.h"
#include "data/Item.h"
#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWLabel.h"
#include "platform/sdk/events.h"
#include "platform/utils/DynamicLoadServiceWrapper.h"
#include "views/BookItem.h"
#include "views/BookItemPostDraw.h"
#include "views/BookItemSpeech.h"

namespace marrowleaf::desktop {
namespace {

using test::ViewTestRoot;

constexpr const char* kTileLayout =
    R"({"layouts":{"Test":{"children":[{"class":"BookItem","name":"tile","x":10,"y":10,
       "w":168,"h":252,"attributes":{"load_from_prototype":1,"size_name":"M"}}]}}})";
constexpr int64_t kDay = 24 * 3600;

std::shared_ptr<Book> MakeBook(const std::string& title) {
  auto book = std::make_shared<Book>();
  book->id = 7;
  book->title = title;
  book->author = "An Author";
  book->path = "/mnt/ext1/Books/" + title + ".fb2";
  book->local = true;
  book->settings = std::make_shared<BookSettings>();
  return book;
}

std::shared_ptr<Item> MakeItem(int type, std::vector<std::shared_ptr<Book>> books,
                               int count = -1) {
  auto item = std::make_shared<Item>();
  item->type_ = type;
  item->books_ = std::move(books);
  item->books_count_ = count >= 0 ? count : static_cast<int>(item->books_.size());
  item->timestamp_ = static_cast<int32_t>(std::time(nullptr));
  return item;
}

class BookTileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tile_ = view_.Load(kTileLayout)->GetChildByName<BookItem>("tile");
    ASSERT_NE(tile_, nullptr);
    tile_->SetCommandID(10);
    tile_->SetHoldCommandID(11);
  }
  void Show(std::shared_ptr<Item> item, int index = 0) {
    tile_->SetItem(std::move(item), index);
    view_.Frame().ReDraw();
  }
  std::set<std::string> Shown() const {
    std::set<std::string> shown;
    for (const MWWindow* child : tile_->Children()) {
      if (child->IsVisible() && child->GetName() != "BookPostDraw")
        shown.insert(child->GetName());
    }
    return shown;
  }
  std::string Text(const char* part, const char* label) const {
    const MWWindow* window = tile_->GetNonDirectChildByName(part);
    const auto* text = window ? window->GetNonDirectChildByName<MWLabel>(label) : nullptr;
    return text ? text->GetText() : "<none>";
  }
  const BookItemPostDraw& PostDraw() const {
    return *tile_->GetChildByName<BookItemPostDraw>("BookPostDraw");
  }
  std::vector<int> Commands() const {
    std::vector<int> ids;
    for (const MWCommand& command : view_.Frame().commands) ids.push_back(command.id);
    return ids;
  }

  ViewTestRoot view_;
  BookItem* tile_ = nullptr;
};

TEST_F(BookTileTest, EachKindOfItemShowsItsOwnPartsAndFrame) {
  struct Case {
    const char* what;
    std::function<std::shared_ptr<Item>()> item;
    int partner;
    std::set<std::string> shown;
    int mode;
    int progress;
  };
  const auto book = [](std::function<void(Book&)> change) {
    auto one = MakeBook("Dubliners");
    change(*one);
    return MakeItem(ITEM_OPENED, {one});
  };
  const int64_t now = std::time(nullptr);
  const std::vector<Case> cases = {
      {"an empty slot", [] { return nullptr; }, 0, {"Empty"}, BookItemPostDraw::kEmptySlot, -1},
      {"an opened book without a cover", [&] { return book([](Book& b) {
         b.settings->cpage = 30;
         b.settings->npage = 120; }); },
       0, {"NoCover"}, BookItemPostDraw::kBook, 25},
      {"a book only in the cloud", [&] { return book([](Book& b) { b.local = false; b.cloud = true; }); },
       0, {"NoCover", "Cloud"}, BookItemPostDraw::kCloudOnly, -1},
      {"the same for the partner with its own store", [&] { return book([](Book& b) {
         b.local = false;
         b.cloud = true; }); },
       21, {"NoCover", "CloudNoLocal"}, BookItemPostDraw::kBook, -1},
      {"a borrowed book in the cloud", [&] { return book([&](Book& b) {
         b.cloud = true;
         b.loan_exp = static_cast<int32_t>(now + 2 * kDay + 3600); }); },
       0, {"NoCover", "Loan", "LoanCloud"}, BookItemPostDraw::kBook, -1},
      {"a loan that ran out", [&] { return book([&](Book& b) {
         b.loan_exp = static_cast<int32_t>(now - 60); }); },
       0, {"NoCover", "LoanExpire"}, BookItemPostDraw::kBook, -1},
      {"a store sample", [&] { return book([](Book& b) { b.is_sample = true; }); },
       0, {"NoCover", "Sample"}, BookItemPostDraw::kBook, -1},
      {"a favourite", [&] { return book([](Book& b) { b.settings->favorite = 1; }); },
       0, {"NoCover", "Favorite"}, BookItemPostDraw::kBook, -1},
      {"a loan licence", [&] { return book([](Book& b) { b.path = "/x.acsm"; }); },
       0, {"NoCover", "Acsm"}, BookItemPostDraw::kBook, -1},
      {"a short name is a licence only by its cloud file",
       [&] { return book([](Book& b) {
         b.path = ".acsm";
         b.local = false;
         b.cloud = true;
         b.cloud_ext = "acsm"; }); },
       0, {"NoCover", "Acsm", "Cloud"}, BookItemPostDraw::kCloudOnly, -1},
      {"a short name with another cloud file is no licence",
       [&] { return book([](Book& b) {
         b.path = ".acsm";
         b.local = false;
         b.cloud = true;
         b.cloud_ext = "epub"; }); },
       0, {"NoCover", "Cloud"}, BookItemPostDraw::kCloudOnly, -1},
      {"the more tile", [] { return MakeItem(ITEM_MORE, {}); }, 0, {"More"},
       BookItemPostDraw::kMore, -1},
      {"a group of three", [] {
         return MakeItem(ITEM_ADDED_GROUP, {MakeBook("A"), MakeBook("B"), MakeBook("C")}); },
       0, {"AddedCovers", "AddedInfo"}, BookItemPostDraw::kBook, -1},
      {"an added item with two books is refused", [] {
         return MakeItem(ITEM_ADDED, {MakeBook("A"), MakeBook("B")}); },
       0, {}, BookItemPostDraw::kBook, -1},
  };
  for (const Case& c : cases) {
    view_.Root().Write("/.sim/device.cfg", "screen_width=600\nscreen_height=800\ndpi=160\n"
                                           "panel_height=40\ntouch=1\npartner=" +
                                               std::to_string(c.partner) + "\n");
    ReloadDeviceProfile();
    // A tile owning a group shows the group as a whole past its last book.
    const auto item = c.item();
    Show(item, item && item->type_ == ITEM_ADDED_GROUP ? 5 : 0);
    EXPECT_EQ(Shown(), c.shown) << c.what;
    EXPECT_EQ(PostDraw().GetMode(), c.mode) << c.what;
    EXPECT_EQ(PostDraw().GetProgress(), c.progress) << c.what;
  }
}

TEST_F(BookTileTest, TextsOfTheTileSayWhatABookOrAGroupIs) {
  Show(MakeItem(ITEM_OPENED, {MakeBook("Dubliners")}));
  EXPECT_EQ(Text("NoCover", "title"), "Dubliners");
  EXPECT_EQ(Text("NoCover", "author"), "An Author");

  auto loan = MakeBook("Borrowed");
  loan->loan_exp = static_cast<int32_t>(std::time(nullptr) + 2 * kDay + 3 * 3600 + 30);
  Show(MakeItem(ITEM_OPENED, {loan}));
  EXPECT_EQ(Text("Loan", "text"), "2 days 3 hours");
  loan->loan_exp = static_cast<int32_t>(std::time(nullptr) - 1);
  Show(MakeItem(ITEM_OPENED, {loan}));
  EXPECT_EQ(Text("LoanExpire", "text"), "Expired");

  auto group = MakeItem(ITEM_ADDED_GROUP, {MakeBook("A"), MakeBook("B")}, 40);
  Show(group, 99);
  EXPECT_EQ(Text("AddedInfo", "count"), "40");
  EXPECT_EQ(Text("AddedInfo", "new_books_label"), "new books");
  EXPECT_EQ(Text("AddedInfo", "date"), "Today");
  group->timestamp_ -= static_cast<int32_t>(kDay);
  Show(group, 99);
  EXPECT_EQ(Text("AddedInfo", "date"), "Yesterday");

  // In the add-books grid a tile shows one book of the group; the 21st stands for the rest.
  auto last = MakeBook("Twenty-first");
  last->is_more = true;
  Show(MakeItem(ITEM_ADDED_GROUP, {MakeBook("A"), last}, 40), 1);
  EXPECT_EQ(Text("MoreBooks", "more"), "+20");

  utilities::DynamicLoadServiceWrapper::SetAcsmFileStatus("/x.acsm", 40);
  auto licence = MakeBook("Licence");
  licence->path = "/x.acsm";
  Show(MakeItem(ITEM_OPENED, {licence}));
  EXPECT_EQ(Shown(), (std::set<std::string>{"NoCover", "FulfillAcsm"}));
  EXPECT_EQ(Text("FulfillAcsm", "percent"), "40%");
  utilities::DynamicLoadServiceWrapper::SetAcsmFileStatus("/x.acsm", -1);
}

TEST_F(BookTileTest, StoreRatingsShowHalfStarsAndNoStarsForZero) {
  tile_ = view_.Load(R"({"layouts":{"Test":{"children":[{"class":"BookItem","name":"tile",
      "w":126,"h":214,"attributes":{"load_from_prototype":1,"size_name":"S"}}]}}})")
              ->GetChildByName<BookItem>("tile");
  ASSERT_NE(tile_, nullptr);
  auto offer = MakeBook("Offer");
  offer->id = 0;
  offer->path.clear();
  offer->rating = 35;
  Show(MakeItem(ITEM_STORE_BOOK, {offer}));
  const SmartBitmap full = SmartBitmap::LoadFromTheme("star_full");
  const SmartBitmap half = SmartBitmap::LoadFromTheme("star_half");
  const SmartBitmap empty = SmartBitmap::LoadFromTheme("star_empty");
  std::vector<const SmartBitmap*> expected = {&full, &full, &full, &half, &empty};
  for (int n = 1; n <= 5; ++n) {
    auto* star = tile_->GetNonDirectChildByName<MWBitmap>("stars_" + std::to_string(n));
    ASSERT_NE(star, nullptr);
    EXPECT_TRUE(star->IsShown()) << n;
    EXPECT_TRUE(star->GetBitmap().SharesPixelsWith(*expected[static_cast<size_t>(n - 1)])) << n;
  }
  offer->rating = 0;
  Show(MakeItem(ITEM_STORE_BOOK, {offer}));
  EXPECT_FALSE(tile_->GetNonDirectChildByName("stars_1")->IsShown());
}

TEST_F(BookTileTest, APressIsATapOrAHoldOnlyWithinItsTimeAndPlace) {
  Show(MakeItem(ITEM_OPENED, {MakeBook("Dubliners")}));
  const MWRect rect = tile_->ScreenRect();
  const int x = rect.x + rect.w / 2;
  const int y = rect.y + rect.h / 2;
  struct Case {
    const char* what;
    int64_t held_ms;
    int release_dx;
    int release_event;
    std::vector<int> commands;
  };
  const std::vector<Case> cases = {
      {"a tap", 100, 0, EVT_POINTERUP, {10}},
      {"released at the last moment", 999, 0, EVT_POINTERUP, {10}},
      {"released too late", 1000, 0, EVT_POINTERUP, {}},
      {"a swipe across the tile", 100, -101, EVT_POINTERUP, {}},
      {"a long press", 500, 0, EVT_POINTERLONG, {11}},
  };
  for (const Case& c : cases) {
    view_.Frame().commands.clear();
    view_.Frame().HandleEvent(EVT_POINTERDOWN, x, y);
    view_.Clock().Advance(c.held_ms);
    view_.Frame().HandleEvent(c.release_event, x + c.release_dx, y);
    if (c.release_event == EVT_POINTERLONG)
      view_.Frame().HandleEvent(EVT_POINTERUP, x, y);
    EXPECT_EQ(Commands(), c.commands) << c.what;
  }
  // The OK key: a short press opens, a long one holds, and its release adds nothing.
  view_.Frame().commands.clear();
  tile_->SetFocus();
  for (int type : {EVT_KEYPRESS, EVT_KEYRELEASE}) view_.Frame().HandleEvent(type, KEY_OK, 0);
  view_.Frame().HandleEvent(EVT_KEYPRESS, KEY_OK, 0);
  view_.Frame().HandleEvent(EVT_KEYREPEAT, KEY_OK, 1);
  view_.Frame().HandleEvent(EVT_KEYRELEASE, KEY_OK, 1);
  EXPECT_EQ(Commands(), (std::vector<int>{10, 11}));
  ASSERT_FALSE(view_.Frame().commands.empty());
  EXPECT_EQ(view_.Frame().commands.front().param, 0) << "the block of a tile owning its item";
}

}  // namespace
}  // namespace marrowleaf::desktop

namespace marrowleaf::desktop {
namespace {

TEST(BookItemSpeechTest, TheScreenReaderSaysWhatEachTileStandsFor) {
  test::ViewTestRoot view;
  const time_t now = 1800000000;
  auto cloud = MakeBook("Dubliners");
  cloud->cloud = true;
  cloud->loan_exp = static_cast<int32_t>(now + 2 * kDay + 3 * 3600);
  auto expired = MakeBook("Old Loan");
  expired->loan_exp = static_cast<int32_t>(now - 1);
  auto offer = MakeBook("Offer");
  offer->id = 0;
  offer->store_url = "https://store.example/offer";
  struct Case {
    std::shared_ptr<Item> item;
    std::vector<std::string> parts;
  };
  const std::vector<Case> cases = {
      {MakeItem(ITEM_ADDED_GROUP, {}, 3), {"3 new books", "button"}},
      {MakeItem(ITEM_MORE, {}), {"More books", "button"}},
      {MakeItem(ITEM_OPENED, {cloud}),
       {"Dubliners: An Author", "Book in the cloud", "Loan ends in 2 days 3 hours"}},
      {MakeItem(ITEM_OPENED, {expired}), {"Old Loan: An Author", "The loan period has expired"}},
      {MakeItem(ITEM_STORE_BOOK, {offer}), {"Offer: An Author", "Recommended book"}},
      {nullptr, {}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BookItemSpeech::Parts(c.item.get(), 0, false, now), c.parts)
        << (c.parts.empty() ? "empty" : c.parts.front());
  }
}

}  // namespace
}  // namespace marrowleaf::desktop
