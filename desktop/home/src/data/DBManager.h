#pragma once

#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "data/Item.h"
#include "platform/utils/DbManager.h"
#include "platform/utils/JsonBookStoreWrapper.h"
#include "platform/utils/Sqlite.h"

namespace marrowleaf::desktop {

// The home screen's gateway to the library database that the device's file indexer keeps: the
// recently opened and newly added books, the members of an added group, single books with their
// reading state and file properties, the unseen notifications, and the few edits the home screen
// makes. One connection serves two threads (the data manager's query thread and the event-loop
// thread), so every public query and edit holds the mutex for its whole run. When the database
// can't be opened every statement fails to prepare: lists are empty and counts -1. The device's
// indexer may hold the library locked at start-up, so a library that could not be opened is tried
// again by the next list of books, no sooner than a back-off that doubles from kFirstRetryMs to
// kLastRetryMs; and a list that could not be read says so, since an empty list would mean an
// empty library.
class DBManager {
 public:
  // A group shows this many tiles before its more tile; getBooksByTimestamp reads two more books.
  static constexpr uint32_t kGroupLimit = 21;
  static constexpr const char* kModule = "DesktopDB";
  static constexpr int64_t kFirstRetryMs = 1000;
  static constexpr int64_t kLastRetryMs = 60000;

  // The process-wide instance, created and initialised on first use. The first call must come
  // before a second thread can call.
  static DBManager* Instance();

  // Tests and tools make instances of their own; the program uses Instance().
  DBManager() = default;
  DBManager(const DBManager&) = delete;
  DBManager& operator=(const DBManager&) = delete;

  void init();
  void initCollations();
  int getProfileByName(const std::string& name);
  int addNewProfile(const std::string& name);

  void updateStorageIds();
  bool hasCloudStorages();

  // With read given, it is set to whether the library was read: false when it is not open or is
  // locked past the busy timeout (the list is then empty).
  Items getBookItems(size_t max, bool* read = nullptr);
  std::shared_ptr<Item> getBooksByTimestamp(int64_t ts);
  std::shared_ptr<Item> getFilesRelatedToBooksIdByTimestamp(int64_t ts);
  int getNotViewedNotificationsCount();

  int markAsRead(int book_id, bool completed);
  std::vector<std::string> getBookLocalFiles(int64_t book_id);
  int removeFile(const std::string& path);
  int removeFilesByTimestamp(int64_t ts);
  // Removes the rows of the files at these paths, as removeFile does for one, in one transaction:
  // a power cut leaves every row or none. 0, or -1 when the library refused (then none is removed).
  int removeFiles(const std::vector<std::string>& paths);
  int removeFromAddedAndOpened(int64_t book_id);
  int removeFromAddedAndOpenedByTimestamp(int64_t ts);

  // The acsm look-up of getBookItems starts at the oldest book that can pass it, found through an
  // index, is skipped when there is none (see acsmLowerBound), and reads only the books that have
  // an acsm file when that gives the same rows (see readAcsmRowsWithoutTies). On by default; off
  // runs the acsm statement from the list's bound, only to compare results and timings.
  void setAcsmShortcuts(bool enabled) { acsm_shortcuts_ = enabled; }

  int profileId() const { return profile_id; }
  const std::string& collateClause() const { return collate_clause; }
  const std::string& collateWithNumbersClause() const { return collate_with_numbers_clause; }

 private:
  // Opens the library when it is not open and the back-off allows a try. The caller holds the
  // mutex.
  bool ensureOpen();
  bool open();
  // Starts a read transaction: the lists of one request come from one state of the library, and
  // a lock held by another program shows here rather than as rows that are silently missing.
  bool beginRead();
  // The parts of getBookItems and getBooksByTimestamp; the caller holds the mutex.
  Items readBookItems(size_t max);
  std::shared_ptr<Book> getBook(int64_t id);
  // The file properties of a book that getBook reads, by property type.
  struct FileProps {
    std::map<int64_t, std::string> values;
    const std::string& value(utilities::db::FileProp prop) const;
    static bool wanted(int64_t prop);
  };
  FileProps getFileProps(const std::string& fast_hash);
  void appendSingleBookItems(utilities::Statement& st, int type, int book_column, int time_column,
                             Items* items);
  Items getOpenedBooks(size_t max);
  Items getAddedBooks(size_t max, int64_t since);
  Items getAcsmBooks(size_t max, int64_t since);
  bool acsmLowerBound(int64_t since, int64_t* bound);
  // A row of the acsm look-up: the book and its added time.
  struct AcsmRow {
    int64_t id = 0;
    int64_t time = 0;
  };
  bool readAcsmRowsWithoutTies(size_t max, int64_t since, std::vector<AcsmRow>* rows);
  void appendSingleBookItem(int type, int64_t book_id, int64_t timestamp, Items* items);
  std::shared_ptr<utilities::Statement> cachedStatement(const std::string& sql);
  void readFileProps(Book& book, const FileProps& props);
  void readStoreData(Book& book, const FileProps& props);
  std::string storageClause() const;
  // Raises the library-change counter of the shared device state when the last statement changed
  // rows, so that other applications notice the edit.
  void bumpChangeCounter();
  void announceChange();
  int runEdit(const std::string& sql);
  static void logGuard(const char* expression, const char* value, const char* message);

  utilities::Sqlite db_;
  std::vector<int64_t> storage_ids;
  std::map<std::string, std::shared_ptr<utilities::Statement>> statements_;
  int profile_id = -1;
  std::mutex mutex_;
  utilities::JsonBookStoreWrapper store_wrapper_;
  std::string collate_clause = " ";
  std::string collate_with_numbers_clause = " ";
  bool acsm_shortcuts_ = true;
  int64_t next_open_ms_ = std::numeric_limits<int64_t>::min();
  int64_t retry_ms_ = kFirstRetryMs;
};

}  // namespace marrowleaf::desktop
