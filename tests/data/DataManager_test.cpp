#include "data/DataManager.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <thread>
#include <vector>

#include "data/HomeCache.h"
#include "data/TestLibrary.h"
#include "platform/sdk/device.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::desktop {
namespace {

using namespace std::chrono_literals;
using test::TempDeviceRoot;
using test::TestLibrary;

// A home-screen group as the list hands it out: its books are read on demand.
std::shared_ptr<Item> GroupAddedAt(int64_t timestamp) {
  auto group = std::make_shared<Item>();
  group->type_ = ITEM_ADDED_GROUP;
  group->timestamp_ = timestamp;
  return group;
}

// The notifications the query thread sends, in order.
class EventLog {
 public:
  void Add(int type) {
    std::lock_guard<std::mutex> lock(mutex_);
    types_.push_back(type);
    condition_.notify_all();
  }
  // Waits until count events arrived; returns their types.
  std::vector<int> WaitFor(size_t count) {
    std::unique_lock<std::mutex> lock(mutex_);
    condition_.wait_for(lock, 20s, [&] { return types_.size() >= count; });
    return types_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable condition_;
  std::vector<int> types_;
};

class DataManagerTest : public ::testing::Test {
 protected:
  void Start() {
    db_.init();
    data_ = std::make_unique<DataManager>(&db_, [this](int type) { events_.Add(type); });
    data_->init();
  }
  // A library of one opened book ("Cached", page 7, a favourite), listed and saved to the cache file.
  int64_t SaveOneOpenedBookToTheCache() {
    const int64_t book = library_.AddBook("Cached", 1000);
    library_.Open(book, 2000, 7, 70, 1);
    Start();
    EXPECT_TRUE(Reload(10, 0));
    data_->SaveToCache();
    return book;
  }
  // Runs a book-items query and applies its result; returns applyBookItems' answer.
  bool Reload(int slots, size_t events_so_far) {
    data_->requestBookItems(slots);
    events_.WaitFor(events_so_far + 1);
    return data_->applyBookItems();
  }

  TempDeviceRoot root_;
  TestLibrary library_{root_};
  DBManager db_;
  EventLog events_;
  std::unique_ptr<DataManager> data_;
};

TEST_F(DataManagerTest, RequestsBeforeTheThreadStartsAreDropped) {
  db_.init();
  DataManager data(&db_, [this](int type) { events_.Add(type); });
  data.requestBookItems(5);
  int count = 0;
  EXPECT_FALSE(data.applyBookItems());
  EXPECT_FALSE(data.getNotViewedNotificationsCount(count));
  data.init();
  data.requestNotViewedNotificationsCount();
  EXPECT_EQ((std::vector<int>{eQueryNotViewedNotificationsCount}), events_.WaitFor(1));
}

TEST_F(DataManagerTest, AppliesANewListOnlyAfterItsEventAndReportsWhetherItChanged) {
  library_.AddBook("First", 1000);
  const int64_t second = library_.AddBook("Second", 2000);
  Start();
  EXPECT_EQ(0u, data_->getItemsCount(DEVICE_BLOCK));
  EXPECT_TRUE(Reload(10, 0));
  ASSERT_EQ(2u, data_->getItemsCount(DEVICE_BLOCK));
  EXPECT_EQ("Second", data_->getItem(DEVICE_BLOCK, 0)->books_[0]->title);
  EXPECT_FALSE(data_->getItem(DEVICE_BLOCK, 2));
  EXPECT_FALSE(data_->getItem(7, 0));
  EXPECT_EQ(0u, data_->getItemsCount(7));

  EXPECT_FALSE(Reload(10, 1));  // nothing a tile shows changed
  library_.Open(second, 3000, 40, 100);
  EXPECT_TRUE(Reload(10, 2));  // the page and the kind of tile changed
  EXPECT_EQ(ITEM_OPENED, data_->getItem(DEVICE_BLOCK, 0)->type_);
}

// Another program changes one thing a tile shows at a time; each change alone must redraw the
// home screen, and the reload after it, with nothing new, must not.
TEST_F(DataManagerTest, EveryFieldATileShowsRedrawsTheHomeScreenWhenItAloneChanges) {
  const int64_t book = library_.AddBook("Book", 1000);
  library_.Open(book, 2000, 40, 100);
  const std::string hash = "X'ab0000000001'";
  const std::vector<std::pair<std::string, std::string>> changes = {
      {"read mark", "UPDATE books_settings SET completed = 1"},
      {"favourite", "UPDATE books_settings SET favorite = 1"},
      {"page", "UPDATE books_settings SET cpage = 41"},
      {"page count", "UPDATE books_settings SET npage = 101"},
      {"title", "UPDATE books_impl SET title = 'Retitled'"},
      {"author", "UPDATE books_impl SET author = 'Someone Else'"},
      {"cover by resource id", "UPDATE books_impl SET resource_id = X'0102'"},
      {"path", "UPDATE files SET filename = 'Moved.fb2'"},
      {"cloud copy", "INSERT INTO files (book_id, folder_id, storageid, filename, ext, fast_hash) "
                     "VALUES (1, 1, 4, 'Book.epub', 'epub', " + hash + ")"},
      {"loan", "INSERT INTO file_props (fast_hash, prop_type, value) VALUES (" + hash +
                   ", 5, '1900000000')"},
      {"sample", "INSERT INTO file_props (fast_hash, prop_type, value) VALUES (" + hash +
                     ", 18, '{\"store_id\": \"s-1\"}')"},
      {"cover by file hash", "UPDATE files SET fast_hash = X'cd01'"},
  };
  Start();
  size_t events = 0;
  ASSERT_TRUE(Reload(10, events++));
  for (const auto& [field, sql] : changes) {
    library_.Exec(sql);
    EXPECT_TRUE(Reload(10, events++)) << field;
    EXPECT_FALSE(Reload(10, events++)) << field;
  }
}

TEST_F(DataManagerTest, TwoReloadsRunInOrderAndTheSecondResultWins) {
  for (int i = 1; i <= 6; ++i) library_.AddBook("Book" + std::to_string(i), 1000 * i);
  Start();
  data_->requestBookItems(2);
  data_->requestBookItems(5);
  EXPECT_EQ((std::vector<int>{eQueryBookItems, eQueryBookItems}), events_.WaitFor(2));
  EXPECT_TRUE(data_->applyBookItems());
  EXPECT_EQ(5u, data_->getItemsCount(DEVICE_BLOCK));
}

// A group shows at most the group limit of tiles; only a larger group turns its last tile into
// the "more" tile. Only the tiles shown, the more tile and one beyond are read.
TEST_F(DataManagerTest, AGroupGetsItsBooksAndKeepsThemAcrossAnUnchangedReload) {
  const size_t limit = DBManager::kGroupLimit;
  // The largest group is added after 2038: its time travels to the query thread and back whole.
  const int64_t after_2038 = 4102444800;
  struct Group {
    size_t size;
    size_t books_read;
    int64_t added;
  };
  const std::vector<Group> groups = {{limit - 1, limit - 1, 6000},
                                     {limit, limit, 7000},
                                     {limit + 1, limit + 1, 8000},
                                     {30, limit + 2, after_2038}};
  for (const Group& g : groups) {
    for (size_t i = 0; i < g.size; ++i) library_.AddBook("Member " + std::to_string(i), g.added);
  }
  Start();
  ASSERT_TRUE(Reload(10, 0));
  size_t events = 1;
  for (size_t n = 0; n < groups.size(); ++n) {
    const Group& g = groups[n];
    std::shared_ptr<Item> group = data_->getItem(DEVICE_BLOCK, groups.size() - 1 - n);
    ASSERT_EQ(ITEM_ADDED_GROUP, group->type_) << g.size;
    EXPECT_EQ(g.added, group->timestamp_);
    EXPECT_TRUE(group->books_.empty()) << g.size;
    data_->requestBooksByTimestamp(group->timestamp_);
    events_.WaitFor(++events);
    data_->applyGroupBooks();
    ASSERT_EQ(g.books_read, group->books_.size()) << g.size;
    EXPECT_EQ(static_cast<int>(g.size), group->books_count_);
    for (size_t i = 0; i < group->books_.size(); ++i)
      EXPECT_EQ(g.size > limit && i == limit - 1, group->books_[i]->is_more) << g.size << " " << i;
  }

  // The reload keeps the same group records and asks for their books again.
  std::shared_ptr<Item> group = data_->getItem(DEVICE_BLOCK, 0);
  EXPECT_FALSE(Reload(10, events));
  EXPECT_EQ(group, data_->getItem(DEVICE_BLOCK, 0));
  EXPECT_EQ(limit + 2, group->books_.size());
  EXPECT_EQ(eQueryBooksByTimestamp, events_.WaitFor(events + 5).back());
  // A group that grew is a new record and a change to draw.
  library_.AddBook("Late member", group->timestamp_);
  EXPECT_TRUE(Reload(10, events + 5));
  EXPECT_EQ(31, data_->getItem(DEVICE_BLOCK, 0)->books_count_);
}

TEST_F(DataManagerTest, TheNotificationCountIsUnknownUntilItsQueryFinishes) {
  library_.Exec(
      "INSERT INTO timestamps (id) VALUES (1); INSERT INTO tags2 (timestampid, "
      "profileid, is_viewed) VALUES (1, 1, 0), (1, 1, 0), (1, 1, 0);");
  Start();
  int count = 0;
  EXPECT_FALSE(data_->getNotViewedNotificationsCount(count));
  data_->requestNotViewedNotificationsCount();
  events_.WaitFor(1);
  ASSERT_TRUE(data_->getNotViewedNotificationsCount(count));
  EXPECT_EQ(3, count);
}

// Group deletes are covered by the Deleting... tests below; this one is about the single book.
TEST_F(DataManagerTest, EditsChangeTheLibraryAndTheFilesButNotTheList) {
  library_.AddBook("Single", 1000);
  root_.Write("/mnt/ext1/Books/Single.fb2", "book");
  Start();
  ASSERT_TRUE(Reload(10, 0));
  std::shared_ptr<Item> book = data_->getItem(DEVICE_BLOCK, 0);

  data_->markAsRead(book->books_[0], true);
  EXPECT_EQ(1, book->books_[0]->settings->completed);
  data_->deleteBook(book->books_[0]);
  EXPECT_FALSE(root_.Exists("/mnt/ext1/Books/Single.fb2"));
  EXPECT_EQ(0, library_.QueryInt("SELECT count(*) FROM files"));
  EXPECT_EQ(1u, data_->getItemsCount(DEVICE_BLOCK));

  auto more = std::make_shared<Item>();
  more->type_ = ITEM_MORE;
  EXPECT_EQ(ITEM_MORE, data_->removeFromHome(more));
  EXPECT_EQ(0, data_->removeFromHome(nullptr));
  library_.AddBook("H1", 4000);
  library_.AddBook("H2", 4000);
  EXPECT_EQ(0, data_->removeFromHome(GroupAddedAt(4000)));
  EXPECT_EQ(0, library_.QueryInt("SELECT count(*) FROM books_impl WHERE ts_added = 4000"));
}

TEST_F(DataManagerTest, TheEventLoopNeverWaitsForARunningQuery) {
  library_.AddBook("Book", 1000);
  Start();
  library_.Exec("BEGIN EXCLUSIVE");  // the query waits for the busy timeout
  data_->requestBookItems(10);
  std::this_thread::sleep_for(50ms);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 100; ++i) {
    data_->requestNotViewedNotificationsCount();
    data_->applyBookItems();
    data_->getItem(DEVICE_BLOCK, 0);
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_TRUE(events_.WaitFor(0).empty()) << "the query should still be waiting";
  EXPECT_LT(elapsed, 1s);
  library_.Exec("COMMIT");
  events_.WaitFor(101);
}

TEST_F(DataManagerTest, TheCacheSavedOnExitIsTheFirstListOfTheNextStart) {
  const int64_t book = SaveOneOpenedBookToTheCache();

  DataManager next(&db_, nullptr);
  next.loadFromCache();
  ASSERT_EQ(1u, next.getItemsCount(DEVICE_BLOCK));
  const Book& cached = *next.getItem(DEVICE_BLOCK, 0)->books_[0];
  EXPECT_EQ(book, cached.id);
  EXPECT_EQ(7, cached.settings->cpage);
  EXPECT_EQ(1, cached.settings->favorite);
}

TEST_F(DataManagerTest, ALockedLibraryLeavesTheCachedListAndItsFileUntilItCanBeRead) {
  const int64_t book = SaveOneOpenedBookToTheCache();
  const std::string saved = root_.Read(HomeCache::kPath);
  data_.reset();

  // The next start finds the library locked by another program.
  library_.Exec("BEGIN EXCLUSIVE");
  DBManager locked_db;
  locked_db.init();
  DataManager next(&locked_db, [this](int type) { events_.Add(type); });
  next.init();
  next.requestBookItems(10);
  events_.WaitFor(2);
  EXPECT_FALSE(next.applyBookItems());
  ASSERT_EQ(1u, next.getItemsCount(DEVICE_BLOCK)) << "the cached list stays on screen";
  next.SaveToCache();
  EXPECT_EQ(saved, root_.Read(HomeCache::kPath));

  // Another request once it is free reads it (the back-off of the first open has passed).
  library_.Exec("COMMIT");
  std::this_thread::sleep_for(std::chrono::milliseconds(DBManager::kFirstRetryMs));
  next.requestBookItems(10);
  events_.WaitFor(3);
  next.applyBookItems();
  ASSERT_EQ(1u, next.getItemsCount(DEVICE_BLOCK));
  EXPECT_EQ(book, next.getItem(DEVICE_BLOCK, 0)->books_[0]->id);
}

TEST_F(DataManagerTest, DeletingRemovesWhatIsGoneFromTheDeviceAndNothingElse) {
  const int64_t present = library_.AddBook("G1", 2000);
  const int64_t already_gone = library_.AddBook("G2", 2000);
  const int64_t stuck = library_.AddBook("G3", 2000);
  library_.AddFile(present, "G1.acsm", TestLibrary::kInternal);
  const int64_t other = library_.AddBook("Other", 3000);
  const int64_t single = library_.AddBook("Single", 4000);
  root_.Write("/mnt/ext1/Books/G1.fb2", "book");
  root_.Write("/mnt/ext1/Books/G1.acsm", "licence");
  root_.Write("/mnt/ext1/Books/Other.fb2", "book");
  // A "file" that can't be unlinked stands for one on a write-protected card.
  root_.MakeFolder("/mnt/ext1/Books/G3.fb2");
  Start();
  auto rows = [&](int64_t book) {
    return library_.QueryInt("SELECT count(*) FROM files WHERE book_id = " + std::to_string(book));
  };
  const uint32_t changes_before = GetDeviceSharedState()->library_change_counter;
  const std::shared_ptr<Item> group = GroupAddedAt(2000);

  EXPECT_EQ(data_->deleteGroupFiles(group), 1) << "one file stays";
  EXPECT_FALSE(root_.Exists("/mnt/ext1/Books/G1.fb2"));
  EXPECT_EQ(rows(present), 1) << "only the licence file, which a group's deletion leaves, stays";
  EXPECT_TRUE(root_.Exists("/mnt/ext1/Books/G1.acsm"));
  EXPECT_EQ(rows(already_gone), 0) << "a file already gone leaves the library too";
  EXPECT_EQ(rows(stuck), 1) << "a file still there keeps its row";
  EXPECT_EQ(rows(other), 1);
  EXPECT_TRUE(root_.Exists("/mnt/ext1/Books/Other.fb2"));
  EXPECT_EQ(GetDeviceSharedState()->library_change_counter, changes_before + 1)
      << "other programs hear of the change once";

  // A single book whose file went away before the delete: its row goes.
  EXPECT_EQ(data_->deleteBook(nullptr), 0);
  auto book = std::make_shared<Book>();
  book->id = single;
  EXPECT_EQ(data_->deleteBook(book), 0);
  EXPECT_EQ(rows(single), 0);
}

TEST_F(DataManagerTest, ALibraryThatRefusesTheEditKeepsEveryRowAndALaterDeleteFinishesIt) {
  const int64_t first = library_.AddBook("L1", 2000);
  const int64_t second = library_.AddBook("L2", 2000);
  root_.Write("/mnt/ext1/Books/L1.fb2", "book");
  root_.Write("/mnt/ext1/Books/L2.fb2", "book");
  Start();
  const std::shared_ptr<Item> group = GroupAddedAt(2000);
  library_.Exec("BEGIN IMMEDIATE");  // another program writes, past the busy timeout

  EXPECT_EQ(data_->deleteGroupFiles(group), 0);
  library_.Exec("COMMIT");
  EXPECT_FALSE(root_.Exists("/mnt/ext1/Books/L1.fb2"));
  EXPECT_EQ(library_.QueryInt("SELECT count(*) FROM files WHERE book_id IN (" +
                              std::to_string(first) + "," + std::to_string(second) + ")"),
            2)
      << "all rows or none";
  EXPECT_EQ(data_->deleteGroupFiles(group), 0);
  EXPECT_EQ(library_.QueryInt("SELECT count(*) FROM files"), 0);
}

// The delete of a group as the delete confirmation runs it, in a process of its own that the
// test kills; it never returns.
[[noreturn]] void DeleteGroupInChild(int64_t timestamp) {
  DBManager db;
  db.init();
  DataManager data(&db, [](int) {});
  data.deleteGroupFiles(GroupAddedAt(timestamp));
  _exit(0);
}

// The power goes off while a group is being deleted: its files go first, then the rows of the
// files that are gone, in one transaction. So at any moment of the cut the library opens and
// answers, every file still on the device keeps its row, and the rows go all together or not at
// all; the next delete of the group finishes the job. A kill cannot drop writes that the disk had
// not yet made durable, as a cut can: SQLite's rollback journal (synchronous FULL, as the library
// is opened) covers that, and what this test checks is the order of the steps.
TEST(DataManagerPowerCut, ADeleteCutShortLeavesALibraryThatWorksAndTheNextDeleteFinishesIt) {
  constexpr int kBooks = 300;
  std::mt19937 random(20261206);
  int cut_between_files_and_rows = 0;
  for (int round = 0; round < 12; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    TempDeviceRoot root;
    TestLibrary library(root);
    library.Exec("BEGIN");
    for (int i = 0; i < kBooks; ++i) {
      library.AddBook("Group " + std::to_string(i), 2000);
      root.Write("/mnt/ext1/Books/Group " + std::to_string(i) + ".fb2", "book");
    }
    const int64_t other = library.AddBook("Other", 3000);
    library.Exec("COMMIT");
    root.Write("/mnt/ext1/Books/Other.fb2", "book");
    auto files_left = [&] {
      int left = 0;
      for (int i = 0; i < kBooks; ++i)
        left += root.Exists("/mnt/ext1/Books/Group " + std::to_string(i) + ".fb2");
      return left;
    };

    const pid_t deleter = fork();
    ASSERT_GE(deleter, 0);
    if (deleter == 0)
      DeleteGroupInChild(2000);
    // Half of the cuts fall while the files go, the others anywhere in the delete.
    if (round % 2 == 0) {
      for (int i = 0; i < 20000 && root.Exists("/mnt/ext1/Books/Group 0.fb2"); ++i)
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    } else {
      std::this_thread::sleep_for(
          std::chrono::microseconds(std::uniform_int_distribution<int>(0, 60000)(random)));
    }
    kill(deleter, SIGKILL);
    int status = 0;
    ASSERT_EQ(deleter, waitpid(deleter, &status, 0));

    EXPECT_EQ(library.QueryInt("SELECT count(*) FROM pragma_integrity_check "
                               "WHERE integrity_check <> 'ok'"),
              0);
    const int left = files_left();
    const int64_t rows = library.QueryInt(
        "SELECT count(*) FROM files f JOIN books_impl b ON b.id = f.book_id WHERE b.ts_added = 2000");
    EXPECT_TRUE(rows == kBooks || (rows == 0 && left == 0)) << rows << " rows, " << left << " files";
    EXPECT_GE(rows, left) << "a file on the device lost its row";
    cut_between_files_and_rows += rows == kBooks && left < kBooks;
    EXPECT_TRUE(root.Exists("/mnt/ext1/Books/Other.fb2"));

    // The next start lists the library and deletes what is left.
    DBManager db;
    db.init();
    DataManager data(&db, [](int) {});
    EXPECT_EQ(data.deleteGroupFiles(GroupAddedAt(2000)), 0);
    EXPECT_EQ(files_left(), 0);
    EXPECT_EQ(library.QueryInt("SELECT count(*) FROM files"), 1);
    EXPECT_EQ(library.QueryInt("SELECT count(*) FROM files WHERE book_id = " + std::to_string(other)), 1);
  }
  EXPECT_GT(cut_between_files_and_rows, 0) << "no cut fell between the files and the rows";
}

}  // namespace
}  // namespace marrowleaf::desktop
