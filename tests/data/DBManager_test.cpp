#include "data/DBManager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <ctime>
#include <memory>
#include <random>

#include "data/DbQueries.h"
#include "data/TestLibrary.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/device.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::desktop {
namespace {

using test::TempDeviceRoot;
using test::TestLibrary;

class DBManagerTest : public ::testing::Test {
 protected:
  DBManager& Db() {
    if (!db_) {
      db_ = std::make_unique<DBManager>();
      db_->init();
    }
    return *db_;
  }
  std::vector<int32_t> Types(const Items& items) {
    std::vector<int32_t> types;
    for (const auto& item : items) types.push_back(item->type_);
    return types;
  }
  std::vector<std::string> Titles(const Items& items) {
    std::vector<std::string> titles;
    for (const auto& item : items) {
      titles.push_back(item->books_.empty() ? "-" : item->books_[0]->title);
    }
    return titles;
  }

  TempDeviceRoot root_;
  TestLibrary library_{root_};
  std::unique_ptr<DBManager> db_;
};

TEST_F(DBManagerTest, ListsOpenedAndAddedBooksNewestFirstWithTheirReadingState) {
  const int64_t opened = library_.AddBook("Opened", 0);
  library_.Open(opened, 3000, 12, 240, 1);
  library_.AddBook("Added", 2000);
  library_.AddBook("Newest", 4000);

  Items items = Db().getBookItems(10);
  ASSERT_EQ((std::vector<std::string>{"Newest", "Opened", "Added"}), Titles(items));
  EXPECT_EQ((std::vector<int32_t>{ITEM_ADDED, ITEM_OPENED, ITEM_ADDED}), Types(items));
  const Book& book = *items[1]->books_[0];
  EXPECT_EQ(3000, items[1]->timestamp_);
  EXPECT_EQ("/mnt/ext1/Books/Opened.fb2", book.path);
  ASSERT_TRUE(book.settings);
  EXPECT_EQ(12, book.settings->cpage);
  EXPECT_EQ(240, book.settings->npage);
  EXPECT_EQ(1, book.settings->favorite);
  EXPECT_EQ("pos", book.settings->position);
  EXPECT_EQ(TestLibrary::FastHash(opened), book.fast_hash);
  EXPECT_EQ(std::string("\x00\xff", 2), book.resource_id.substr(0, 2));
  // A book never opened still carries an empty reading state.
  ASSERT_TRUE(items[0]->books_[0]->settings);
  EXPECT_EQ(0, items[0]->books_[0]->settings->opentime);
}

TEST_F(DBManagerTest, ShowsABookOnceAsWhicheverHappenedLastOpenOrAdd) {
  const int64_t read_after_adding = library_.AddBook("ReadAfterAdding", 1000);
  library_.Open(read_after_adding, 1500);
  const int64_t added_again = library_.AddBook("AddedAgain", 2500);
  library_.Open(added_again, 2000);
  const int64_t opened_at_once = library_.AddBook("OpenedAtOnce", 3000);
  library_.Open(opened_at_once, 3000);

  Items items = Db().getBookItems(10);
  EXPECT_EQ((std::vector<std::string>{"OpenedAtOnce", "AddedAgain", "ReadAfterAdding"}),
            Titles(items));
  EXPECT_EQ((std::vector<int32_t>{ITEM_OPENED, ITEM_ADDED, ITEM_OPENED}), Types(items));
}

TEST_F(DBManagerTest, AFullListEndsInTheMoreTileAndZeroSlotsGiveNothing) {
  for (int i = 1; i <= 5; ++i) library_.AddBook("Book" + std::to_string(i), 1000 * i);
  Items items = Db().getBookItems(3);
  ASSERT_EQ(3u, items.size());
  EXPECT_EQ("Book5", items[0]->books_[0]->title);
  EXPECT_EQ(ITEM_MORE, items[2]->type_);
  EXPECT_TRUE(items[2]->books_.empty());
  EXPECT_EQ(0, items[2]->timestamp_);
  EXPECT_TRUE(Db().getBookItems(0).empty());
  // More opened books than slots: the most recently opened ones.
  for (int64_t id = 1; id <= 5; ++id) library_.Open(id, 10000 + id);
  EXPECT_EQ((std::vector<std::string>{"Book5", "Book4", "-"}), Titles(Db().getBookItems(3)));
}

TEST_F(DBManagerTest, BooksAddedAtOneMomentFormAGroupSortedByTitleWithNumbers) {
  library_.AddBook("Volume 10", 7000);
  library_.AddBook("Volume 2", 7000);
  library_.AddBook("volume 1", 7000);
  const int64_t twin = library_.AddBook("Volume 2", 7000, "Volume 2 again.fb2");
  Items items = Db().getBookItems(10);
  ASSERT_EQ(1u, items.size());
  EXPECT_EQ(ITEM_ADDED_GROUP, items[0]->type_);
  EXPECT_EQ(4, items[0]->books_count_);
  EXPECT_TRUE(items[0]->books_.empty());

  std::shared_ptr<Item> group = Db().getBooksByTimestamp(7000);
  ASSERT_EQ(4u, group->books_.size());
  EXPECT_EQ("volume 1", group->books_[0]->title);
  EXPECT_EQ("Volume 2", group->books_[1]->title);
  EXPECT_EQ("Volume 2", group->books_[2]->title);
  EXPECT_EQ(twin, group->books_[2]->id) << "equal titles keep the order they were added in";
  EXPECT_EQ("Volume 10", group->books_[3]->title);
}

TEST_F(DBManagerTest, ALargeGroupReadsOnlyTheBooksItShows) {
  for (int i = 0; i < 40; ++i) library_.AddBook("Member " + std::to_string(i), 9000);
  std::shared_ptr<Item> group = Db().getBooksByTimestamp(9000);
  EXPECT_EQ(40, group->books_count_);
  EXPECT_EQ(DBManager::kGroupLimit + 2, group->books_.size());
  std::shared_ptr<Item> files = Db().getFilesRelatedToBooksIdByTimestamp(9000);
  EXPECT_EQ(40, files->books_count_);
  EXPECT_EQ("/mnt/ext1/Books/Member 0.fb2", files->books_[0]->path);
}

TEST_F(DBManagerTest, AudioPlaylistsAndHiddenBooksStayOffAndAcsmDownloadsShowAsAdded) {
  library_.AddBook("Song", 5000, "Song.mp3");
  const int64_t hidden = library_.AddBook("Hidden", 5100);
  library_.Exec("UPDATE books_impl SET hidden = 1 WHERE id = " + std::to_string(hidden));
  library_.AddBook("Download", 5200, "Download.acsm");
  const int64_t opened_acsm = library_.AddBook("OpenedToken", 0, "OpenedToken.acsm");
  library_.Open(opened_acsm, 6000);

  Items items = Db().getBookItems(10);
  ASSERT_EQ((std::vector<std::string>{"Download"}), Titles(items));
  EXPECT_EQ(ITEM_ADDED, items[0]->type_);
  EXPECT_EQ(5200, items[0]->timestamp_);
}

TEST_F(DBManagerTest, ReadsCloudStateDrmLoansAndFreshSamplePrices) {
  const int64_t both = library_.AddBook("Both", 1000, "Both.epub", TestLibrary::kInternal);
  library_.AddFile(both, "Both.pdf", TestLibrary::kCloud, "/cloud");
  const int64_t cloud =
      library_.AddBook("CloudOnly", 1100, "CloudOnly.epub", TestLibrary::kCloud, "/cloud");
  library_.AddProp(both, 3, "1");
  // Prices stay a day: one fetched a minute short of it is shown, one a minute past it is not.
  const std::string now = std::to_string(std::time(nullptr) - 86400 + 60);
  const std::string day_ago = std::to_string(std::time(nullptr) - 86400 - 60);
  library_.AddProp(both, 5, "1900000000");
  library_.AddProp(both, 6, "loan-7");
  const int64_t fresh = library_.AddBook("FreshSample", 1200);
  library_.AddProp(
      fresh, 18,
      "{\"store_id\": 42, \"price\": \"1.99\", \"price_old\": \"2.99\", \"price_ts\": " + now +
          "}");
  const int64_t stale = library_.AddBook("StaleSample", 1300);
  library_.AddProp(stale, 18,
                   "{\"store_id\": \"s-9\", \"price\": \"1.99\", \"price_ts\": " + day_ago + "}");
  const int64_t no_loan = library_.AddBook("NoLoan", 1400);
  library_.AddProp(no_loan, 5, "0");
  library_.AddProp(no_loan, 6, "ignored");
  library_.AddProp(no_loan, 3, "yes");  // only "1" marks protection
  // Types that are no whole number are no property the tiles read.
  library_.AddProp(stale, "3.5", "1");
  library_.AddProp(fresh, "'3x'", "1");

  Items items = Db().getBookItems(10);
  ASSERT_EQ(5u, items.size());
  // id cloud/local cloud_ext path | drm loan_exp loan_id | sample store_id price old_price
  const std::vector<std::string> expected = {
      std::to_string(no_loan) + " 0/1  /mnt/ext1/Books/NoLoan.fb2 | 0 0  | 0   ",
      std::to_string(stale) + " 0/1  /mnt/ext1/Books/StaleSample.fb2 | 0 0  | 1 s-9  ",
      std::to_string(fresh) + " 0/1  /mnt/ext1/Books/FreshSample.fb2 | 0 0  | 1 42 1.99 2.99",
      std::to_string(cloud) + " 1/0 epub  | 0 0  | 0   ",
      std::to_string(both) + " 1/1 pdf /mnt/ext1/Books/Both.epub | 1 1900000000 loan-7 | 0   ",
  };
  for (size_t i = 0; i < expected.size(); ++i) {
    const Book& b = *items[i]->books_[0];
    EXPECT_EQ(expected[i], std::to_string(b.id) + " " + std::to_string(b.cloud) + "/" +
                               std::to_string(b.local) + " " + b.cloud_ext + " " + b.path + " | " +
                               std::to_string(b.drm) + " " + std::to_string(b.loan_exp) + " " +
                               b.loan_id + " | " + std::to_string(b.is_sample) + " " + b.store_id +
                               " " + b.store_price + " " + b.store_price_old);
  }
}

TEST_F(DBManagerTest, BooksOfARemovedCardDisappearAfterTheStoragesAreUpdated) {
  library_.AddBook("OnCard", 1000, "OnCard.fb2", TestLibrary::kCard, "/mnt/ext2/Books");
  library_.AddBook("OnUsb", 1100, "OnUsb.fb2", TestLibrary::kUsb, "/mnt/ext3/Books");
  ASSERT_EQ((std::vector<std::string>{"OnCard"}), Titles(Db().getBookItems(10)));
  std::filesystem::remove_all(root_.Host("/mnt/ext2"));
  Db().updateStorageIds();
  EXPECT_TRUE(Db().getBookItems(10).empty());
}

TEST_F(DBManagerTest, WithoutStoragesEveryListIsEmpty) {
  library_.AddBook("Anywhere", 1000);
  library_.Exec("DELETE FROM storages");
  EXPECT_TRUE(Db().getBookItems(10).empty());
  EXPECT_EQ(0, Db().getBooksByTimestamp(1000)->books_count_);
  EXPECT_FALSE(Db().hasCloudStorages());
}

TEST_F(DBManagerTest, CreatesTheProfileItDoesNotFind) {
  library_.Exec("DELETE FROM profiles");
  EXPECT_GT(Db().profileId(), 0);
  EXPECT_EQ(Db().profileId(), library_.QueryInt("SELECT id FROM profiles WHERE name = 'default'"));
}

TEST_F(DBManagerTest, CountsUnseenNotificationsOfTheProfile) {
  library_.Exec(
      "INSERT INTO timestamps (id) VALUES (1), (2);"
      "INSERT INTO tags2 (timestampid, profileid, is_viewed) VALUES (1, 1, 0), (2, 1, NULL),"
      "(1, 1, 1), (2, 7, 0), (99, 1, 0);");
  EXPECT_EQ(2, Db().getNotViewedNotificationsCount());
}

TEST_F(DBManagerTest, MarkAsReadUpdatesOrCreatesTheReadingStateAndRaisesTheChangeCounter) {
  const int64_t opened = library_.AddBook("Opened", 1000);
  library_.Open(opened, 2000);
  const int64_t fresh = library_.AddBook("Fresh", 1000);
  DeviceSharedState* state = GetDeviceSharedState();
  ASSERT_NE(nullptr, state);
  const uint32_t before = state->library_change_counter;

  EXPECT_EQ(0, Db().markAsRead(static_cast<int>(opened), true));
  EXPECT_EQ(0, Db().markAsRead(static_cast<int>(fresh), true));
  EXPECT_EQ(1, library_.QueryInt("SELECT completed FROM books_settings WHERE bookid = " +
                                 std::to_string(opened)));
  EXPECT_EQ(2000, library_.QueryInt("SELECT opentime FROM books_settings WHERE bookid = " +
                                    std::to_string(opened)));
  EXPECT_EQ(1, library_.QueryInt("SELECT completed FROM books_settings WHERE bookid = " +
                                 std::to_string(fresh)));
  EXPECT_EQ(before + 2, state->library_change_counter);
}

TEST_F(DBManagerTest, RemovingFromTheHomeScreenClearsAddedTimeAndOpenTime) {
  const int64_t book = library_.AddBook("Book", 1000);
  library_.Open(book, 2000);
  library_.AddBook("GroupA", 3000);
  library_.AddBook("GroupB", 3000);
  const int64_t token = library_.AddBook("Token", 3000, "Token.acsm");

  EXPECT_EQ(0, Db().removeFromAddedAndOpened(book));
  EXPECT_EQ(0, Db().removeFromAddedAndOpenedByTimestamp(3000));
  EXPECT_EQ(
      0, library_.QueryInt("SELECT ts_added FROM books_impl WHERE id = " + std::to_string(book)));
  EXPECT_EQ(0, library_.QueryInt("SELECT opentime FROM books_settings WHERE bookid = " +
                                 std::to_string(book)));
  // A download token keeps its place: it has no file but the token.
  EXPECT_EQ(3000, library_.QueryInt("SELECT ts_added FROM books_impl WHERE id = " +
                                    std::to_string(token)));
  EXPECT_EQ((std::vector<std::string>{"Token"}), Titles(Db().getBookItems(10)));
}

TEST_F(DBManagerTest, RemovesFilesByPathAndByGroupButIgnoresABareName) {
  const int64_t book = library_.AddBook("Single", 1000);
  library_.AddFile(book, "Single.pdf", TestLibrary::kCloud, "/cloud");
  library_.AddBook("G1", 2000);
  library_.AddBook("G2", 2000);
  EXPECT_EQ((std::vector<std::string>{"/mnt/ext1/Books/Single.fb2"}), Db().getBookLocalFiles(book));

  EXPECT_EQ(0, Db().removeFile("Single.fb2"));
  EXPECT_EQ(0, Db().removeFile("/mnt/ext1/Books/"));
  EXPECT_EQ(4, library_.QueryInt("SELECT count(*) FROM files"));
  EXPECT_EQ(0, Db().removeFile("/mnt/ext1/Books/Single.fb2"));
  EXPECT_EQ(3, library_.QueryInt("SELECT count(*) FROM files"));
  EXPECT_EQ(0, Db().removeFilesByTimestamp(2000));
  EXPECT_EQ(1, library_.QueryInt("SELECT count(*) FROM files"));
}

TEST_F(DBManagerTest, TimesAfter2038KeepTheirValueAndOrderAndCountsBeyondTheRangeAreClamped) {
  const int64_t in_2040 = 2208988800;
  const int64_t in_2100 = 4102444800;
  const int64_t early = library_.AddBook("OpenedIn2023", 0);
  library_.Open(early, 1700000000);
  const int64_t late = library_.AddBook("OpenedIn2040", 0);
  library_.Open(late, in_2040);
  library_.Exec(
      "UPDATE books_settings SET npage = 3000000000, cpage = -3000000000 WHERE bookid = " +
      std::to_string(late));
  library_.AddProp(late, 5, std::to_string(in_2100));
  library_.AddProp(late, 6, "loan-2100");
  library_.AddBook("AddedIn2100", in_2100);
  library_.AddBook("G1", in_2100 + 60);
  library_.AddBook("G2", in_2100 + 60);

  Items items = Db().getBookItems(10);
  ASSERT_EQ((std::vector<std::string>{"-", "AddedIn2100", "OpenedIn2040", "OpenedIn2023"}),
            Titles(items));
  EXPECT_EQ(in_2100 + 60, items[0]->timestamp_);
  EXPECT_EQ(in_2100, items[1]->books_[0]->ts_added);
  const Book& opened = *items[2]->books_[0];
  EXPECT_EQ(in_2040, items[2]->timestamp_);
  EXPECT_EQ(in_2040, opened.settings->opentime);
  EXPECT_EQ(in_2100, opened.loan_exp);
  EXPECT_EQ(INT32_MAX, opened.settings->npage) << "clamped, not wrapped";
  EXPECT_EQ(INT32_MIN, opened.settings->cpage);

  EXPECT_EQ(2, Db().getBooksByTimestamp(in_2100 + 60)->books_count_);
  EXPECT_EQ(2u, Db().getFilesRelatedToBooksIdByTimestamp(in_2100 + 60)->books_.size());
  EXPECT_EQ(0, Db().removeFromAddedAndOpenedByTimestamp(in_2100 + 60));
  EXPECT_EQ(0, library_.QueryInt("SELECT count(*) FROM books_impl WHERE ts_added = " +
                                 std::to_string(in_2100 + 60)));
}

// A library that is missing or is no database: every list is empty, every count and edit fails,
// and a missing one is never created.
TEST(DBManagerFaults, AMissingOrCorruptDatabaseGivesEmptyListsAndFailuresAndIsNeverCreated) {
  for (const bool corrupt : {false, true}) {
    SCOPED_TRACE(corrupt ? "corrupt" : "missing");
    TempDeviceRoot root;
    root.MakeFolder("/mnt/ext1/system/explorer-3");
    if (corrupt)
      root.Write(TestLibrary::kDbPath, std::string(4096, '\x5a'));
    DBManager db;
    db.init();
    EXPECT_TRUE(db.getBookItems(10).empty());
    EXPECT_EQ(0, db.getBooksByTimestamp(5)->books_count_);
    EXPECT_EQ(-1, db.getNotViewedNotificationsCount());
    EXPECT_EQ(-1, db.markAsRead(1, true));
    EXPECT_EQ(-1, db.removeFromAddedAndOpened(1));
    EXPECT_EQ(corrupt, root.Exists(TestLibrary::kDbPath));
  }
}

// A clock that tests move by hand, installed for one test.
class ManualClockScope {
 public:
  ManualClockScope() { platform::InstallClock(clock_); }
  ~ManualClockScope() { platform::InstallClock(nullptr); }
  void Advance(int64_t ms) { clock_->Advance(ms); }

 private:
  std::shared_ptr<platform::ManualClock> clock_ = std::make_shared<platform::ManualClock>();
};

TEST(DBManagerFaults, ALibraryLockedAtStartIsOpenedByALaterListAndTheFailedListSaysSo) {
  ManualClockScope clock;
  TempDeviceRoot root;
  TestLibrary library(root);
  library.AddBook("Book", 1000);
  library.Exec("BEGIN EXCLUSIVE");
  DBManager db;
  db.init();  // gives up after the busy timeout
  bool read = true;
  EXPECT_TRUE(db.getBookItems(10, &read).empty());
  EXPECT_FALSE(read);
  library.Exec("COMMIT");
  EXPECT_TRUE(db.getBookItems(10, &read).empty());
  EXPECT_FALSE(read) << "not tried again before the pause is over";
  clock.Advance(DBManager::kFirstRetryMs);
  EXPECT_EQ(1u, db.getBookItems(10, &read).size());
  EXPECT_TRUE(read);
  // Locked again with the library open: the list fails at once, and the next one reads it.
  library.Exec("BEGIN EXCLUSIVE");
  EXPECT_TRUE(db.getBookItems(10, &read).empty());
  EXPECT_FALSE(read);
  library.Exec("COMMIT");
  EXPECT_EQ(1u, db.getBookItems(10, &read).size());
  EXPECT_TRUE(read);
}

TEST(DBManagerFaults, TriesToOpenTheLibraryAfterPausesThatDoubleUpToTheLast) {
  ManualClockScope clock;
  TempDeviceRoot root;
  root.MakeFolder("/mnt/ext1/system/explorer-3");
  DBManager db;
  db.init();
  bool read = true;
  int64_t pause = DBManager::kFirstRetryMs;
  for (int attempt = 0; attempt < 8; ++attempt) {
    clock.Advance(pause);
    db.getBookItems(10, &read);
    EXPECT_FALSE(read);
    pause = std::min(pause * 2, DBManager::kLastRetryMs);
  }
  ASSERT_EQ(DBManager::kLastRetryMs, pause) << "the pauses reached their bound";
  TestLibrary library(root);
  library.AddBook("Book", 1000);
  clock.Advance(pause - 1);
  EXPECT_TRUE(db.getBookItems(10, &read).empty());
  EXPECT_FALSE(read);
  clock.Advance(1);
  EXPECT_EQ(1u, db.getBookItems(10, &read).size());
  EXPECT_TRUE(read);
}

TEST(DBManagerFaults, ALockedDatabaseFailsAfterTheBusyTimeoutInsteadOfHanging) {
  TempDeviceRoot root;
  TestLibrary library(root);
  const int64_t book = library.AddBook("Book", 1000);
  DBManager db;
  db.init();
  library.Exec("BEGIN EXCLUSIVE");
  EXPECT_EQ(-1, db.getNotViewedNotificationsCount());
  EXPECT_TRUE(db.getBookItems(10).empty());
  EXPECT_EQ(-1, db.markAsRead(static_cast<int>(book), true)) << "a refused write is no success";
  library.Exec("COMMIT");
  EXPECT_EQ(1u, db.getBookItems(10).size());
  EXPECT_EQ(0, db.markAsRead(static_cast<int>(book), true));
}

// The acsm look-up of getBookItems reads only the books with an acsm file, unless rows of equal
// times or times that are no whole numbers could come in another order; the acsm statement then
// runs from the oldest book with an acsm file, found through an index, instead of from the list's
// lower bound. That must never change a list: libraries generated from fixed seeds, with acsm
// files old and new, beside other files or alone, local, on the card, in the cloud and on an
// absent drive, hidden books, files whose folder is gone, times that tie, are not whole numbers or
// are texts, and libraries with no acsm file or no storage at all, are listed with and without
// these shortcuts; the acsm statement must return the same rows from either bound, and the same
// rows as its form that reads only the books with an acsm file.
class GeneratedLibrary {
 public:
  explicit GeneratedLibrary(unsigned seed) : random_(seed) {
    library_.Exec("BEGIN");
    // Extra storages: a second local one that is mounted, one that is not, a second cloud.
    root_.MakeFolder("/mnt/ext4");
    library_.Exec(
        "INSERT INTO storages (id, type, name, path) VALUES (5, 1, 'Mounted', '/mnt/ext4'),"
        "(6, 1, 'Gone', '/mnt/ext5'), (7, 2, 'Cloud 2', '');");
    const bool no_acsm = Chance(10);
    distinct_times_ = Chance(30);
    const int books = Pick(0, 40);
    for (int i = 0; i < books; ++i) AddBook(no_acsm);
    if (Chance(20))
      library_.Exec("DELETE FROM storages;");
    library_.Exec("COMMIT");
  }

  std::string Describe(const Items& items) {
    std::string text;
    for (const auto& item : items) {
      text += std::to_string(item->type_) + "/" + std::to_string(item->books_count_) + "@" +
              std::to_string(item->timestamp_) + ":" +
              (item->books_.empty() ? "-" : item->books_[0]->title) + " ";
    }
    return text;
  }

  // The rows of the acsm statement from a bound, in the order it gives them.
  std::string AcsmRows(int since) {
    return Rows("SELECT b.id AS b FROM (" + DbQueries::acsmBooks(Storages(), since, 1000) +
                ") AS b");
  }
  // The rows of the acsm statement, or of its form that reads only the books with an acsm file,
  // in the order of their books.
  std::string SortedAcsmRows(int since, bool with_acsm_file) {
    std::string sql = DbQueries::acsmBooks(Storages(), since, 1000);
    if (with_acsm_file) {
      sql = DbQueries::acsmBooksWithAcsmFile(Storages());
      sql.replace(sql.find("?1"), 2, std::to_string(since));
    }
    return Rows("SELECT b.id AS b FROM (" + sql + ") AS b ORDER BY b.id");
  }
  std::string Rows(const std::string& select) {
    const std::string sql = "SELECT group_concat(b, ' ') FROM (" + select + ")";
    sqlite3* db = nullptr;
    sqlite3_open(root_.Host(TestLibrary::kDbPath).c_str(), &db);
    sqlite3_stmt* st = nullptr;
    std::string rows = "?";
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) == SQLITE_OK &&
        sqlite3_step(st) == SQLITE_ROW) {
      const unsigned char* text = sqlite3_column_text(st, 0);
      rows = text ? reinterpret_cast<const char*>(text) : "";
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
    return rows;
  }
  // The bound the look-up gives, or -1 when it finds no acsm book.
  int64_t RaisedBound(int since) {
    std::string sql = DbQueries::acsmLowerBound(Storages());
    sql.replace(sql.find("?1"), 2, std::to_string(since));
    // Every time here is positive, so the cast rounds down as the look-up does.
    return library_.QueryInt("SELECT coalesce(max(" + std::to_string(since) + ", CAST((" + sql +
                             ") AS INTEGER)), -1)");
  }
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

 private:
  bool Chance(int percent) { return Pick(1, 100) <= percent; }
  static std::string Storages() {
    return DbQueries::toStringNoSubquery("file.storageid", {1, 2, 4, 5, 7});
  }

  void AddBook(bool no_acsm) {
    static const char* const kExtensions[] = {"fb2", "epub", "acsm", "pdf", "mp3", "abc"};
    static const int kStorages[] = {1, 1, 1, 2, 3, 4, 5, 6, 7};
    auto storage = [&] { return static_cast<TestLibrary::Storage>(kStorages[Pick(0, 8)]); };
    auto extension = [&] { return std::string(kExtensions[Pick(0, no_acsm ? 1 : 5)]); };
    // Few distinct times, so that many books share one, unless each book has its own.
    const int64_t ts = distinct_times_ ? (books_ + 1) * 100 : Pick(0, 12) * 100;
    const std::string title = "Book" + std::to_string(++books_);
    const int64_t id = library_.AddBook(title, ts, title + "." + extension(), storage());
    for (int extra = Pick(0, 2); extra > 0; --extra)
      library_.AddFile(id, title + std::to_string(extra) + "." + extension(), storage());
    const std::string where = " WHERE id = " + std::to_string(id);
    if (Chance(15))
      library_.Exec("UPDATE books_impl SET hidden = 1" + where);
    if (Chance(5))
      library_.Exec("UPDATE books_impl SET ts_added = ts_added + 0.5" + where);
    else if (Chance(3))
      library_.Exec("UPDATE books_impl SET ts_added = 'at ' || ts_added" + where);
    if (Chance(3))
      library_.Exec("UPDATE files SET folder_id = 9999 WHERE book_id = " + std::to_string(id));
    if (Chance(30))
      library_.Open(id, Pick(1, 14) * 100);
  }

  std::mt19937 random_;
  TempDeviceRoot root_;
  TestLibrary library_{root_};
  int books_ = 0;
  bool distinct_times_ = false;
};

TEST(AcsmShortcuts, NeverChangeAListOrTheAcsmRows) {
  int raised = 0;
  int skipped = 0;
  for (unsigned seed = 1; seed <= 50; ++seed) {
    GeneratedLibrary library(seed);
    DBManager fast;
    fast.init();
    DBManager plain;
    plain.init();
    plain.setAcsmShortcuts(false);
    for (size_t max : {0, 1, 3, 6, 12, 50}) {
      ASSERT_EQ(library.Describe(plain.getBookItems(max)), library.Describe(fast.getBookItems(max)))
          << "seed " << seed << ", list of " << max;
    }
    for (int since : {1, library.Pick(1, 1300)}) {
      EXPECT_EQ(library.SortedAcsmRows(since, false), library.SortedAcsmRows(since, true))
          << "seed " << seed << ", bound " << since;
      const int64_t bound = library.RaisedBound(since);
      if (bound < 0) {
        ++skipped;
        EXPECT_EQ("", library.AcsmRows(since)) << "seed " << seed << ", bound " << since;
        continue;
      }
      raised += bound > since ? 1 : 0;
      EXPECT_EQ(library.AcsmRows(since), library.AcsmRows(static_cast<int>(bound)))
          << "seed " << seed << ", bound " << since << " raised to " << bound;
    }
  }
  // The generated libraries exercise both ways out of the look-up.
  EXPECT_GT(raised, 8);
  EXPECT_GT(skipped, 8);
}

// Where the acsm statement's limit falls, the list must show the books it keeps, with the
// shortcuts as without: after one of two books added at one moment, which one being the
// statement's own affair, and after a book whose added time is a text, which sorts above every
// number. The first acsm book is also opened, so it leaves the acsm list and the last kept one is
// shown.
TEST(AcsmShortcuts, KeepTheBooksTheStatementKeepsWhereItsLimitFalls) {
  const std::vector<std::pair<const char*, void (*)(TestLibrary&)>> cases = {
      {"one moment",
       [](TestLibrary& library) {
         library.AddBook("First", 2000, "First.acsm");
         library.AddBook("Second", 2000, "Second.acsm");
       }},
      {"a text time",
       [](TestLibrary& library) {
         library.AddBook("Older", 2000, "Older.acsm");
         const int64_t texted = library.AddBook("Texted", 1, "Texted.acsm");
         library.Exec("UPDATE books_impl SET ts_added = 'at 1' WHERE id = " +
                      std::to_string(texted));
       }},
  };
  const auto titles = [](const Items& items) {
    std::vector<std::string> titles;
    for (const auto& item : items)
      titles.push_back(item->books_.empty() ? "-" : item->books_[0]->title);
    return titles;
  };
  for (const auto& [name, add_last] : cases) {
    TempDeviceRoot root;
    TestLibrary library(root);
    const int64_t opened = library.AddBook("OpenedToken", 4000, "OpenedToken.acsm");
    library.AddFile(opened, "OpenedToken.mp3", TestLibrary::kInternal);
    library.Open(opened, 100);
    library.AddBook("Newer", 3000, "Newer.acsm");
    add_last(library);
    DBManager plain;
    plain.init();
    plain.setAcsmShortcuts(false);
    DBManager fast;
    fast.init();
    const std::vector<std::string> shown = titles(plain.getBookItems(3));
    ASSERT_EQ(3u, shown.size()) << name;
    EXPECT_EQ("Newer", shown[0]) << name;
    EXPECT_EQ(shown, titles(fast.getBookItems(3))) << name;
  }
}

}  // namespace
}  // namespace marrowleaf::desktop
