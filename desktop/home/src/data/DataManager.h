#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "data/DBManager.h"
#include "data/Item.h"
#include "data/QueryType.h"
#include "data/StoreBlocks.h"

namespace marrowleaf::desktop {

// The home screen's data model: the device block (block 1) built from the library and the store
// blocks (1000 + n). Library queries run on one query thread: the event loop posts requests, the
// thread runs them through DBManager, parks the results and sends event 212/14322 with the query
// type; the event loop then adopts the results (applyBookItems, applyGroupBooks). The mutex guards
// the queue and the lists only; no query and no file access runs under it, so the event loop never
// waits for the database.
class DataManager {
 public:
  static constexpr int kNotificationEvent = 14322;
  // Tells the event loop that a query of the given type has finished.
  using Notifier = std::function<void(int type)>;

  // The process-wide instance over DBManager::Instance(), notifying through SendEvent.
  static DataManager* Instance();

  // Tests make instances of their own; the destructor stops their query thread (the process-wide
  // instance is never destroyed, its thread lives as long as the process).
  DataManager(DBManager* db, Notifier notifier);
  ~DataManager();
  DataManager(const DataManager&) = delete;
  DataManager& operator=(const DataManager&) = delete;

  // Loads the cache, then starts the query thread (once).
  void init();
  void requestBookItems(int max);
  void requestBooksByTimestamp(int64_t ts);
  void requestNotViewedNotificationsCount();

  // True when the device block changed in any way a tile shows.
  bool applyBookItems();
  void applyGroupBooks();
  // False while the thread is not running or the count is unknown or being queried.
  bool getNotViewedNotificationsCount(int& count);

  std::shared_ptr<Item> getItem(int block, size_t index);
  size_t getItemsCount(int block);
  uint32_t getGroupLimit() const { return group_limit_; }

  void markAsRead(const std::shared_ptr<Book>& book, bool completed);
  // Delete the book files of a group or of one book from the device, and the library rows of the
  // files that are gone. The number of files that could not be deleted.
  int deleteGroupFiles(const std::shared_ptr<Item>& item);
  int deleteBook(const std::shared_ptr<Book>& book);
  int removeFromHome(const std::shared_ptr<Item>& item);
  void updateStorageIds();
  bool hasCloudStorages();

  // Saves the device block for the next start, unless it never came from the library: a list
  // that a failed query produced never replaces the file.
  void SaveToCache();
  void loadFromCache();

  // Store blocks; event-loop thread only.
  bool loadStoreBlocks(bool advance);
  size_t getStoreBlocksCount() const { return shown_block_ids_.size(); }
  int32_t getCurrentStoreBlock() const { return current_block_; }
  void switchStoreBlock(int step);
  int32_t getCurrentStoreBlockType();
  std::string getStoreBlockName(int id) const;
  std::string getStoreBlockTitle(int id) const;
  std::string getStoreBlockUrl(int id) const;

 private:
  // The parameter is the number of slots or a time.
  using Query = std::pair<QueryType, int64_t>;

  void thread();
  void enqueue(QueryType type, int64_t parameter);
  int deleteFiles(const std::vector<std::string>& paths);
  void runQuery(const Query& query);
  bool running() const { return thread_future_.valid(); }
  // Chooses the first block after a boot or restores the one of this boot; true when chosen.
  bool chooseFirstStoreBlock(const StoreBlocks& blocks, bool advance);
  static int firstBlockWithItems(const StoreBlocks& blocks, int from);
  static const std::string& blockText(const std::vector<std::string>& texts, int id);

  DBManager* db_;
  Notifier notifier_;
  std::mutex mutex_;
  std::condition_variable condition_;
  std::future<void> thread_future_;
  bool stop_ = false;
  std::deque<Query> queries_;
  Items items_;
  Items pending_items_;
  // Whether the last book-items query read the library; its list is only applied then.
  bool pending_read_ = false;
  // Whether items_ came from the library rather than from the cache file.
  bool from_library_ = false;
  Items pending_groups_;
  int32_t notifications_count_ = -1;
  const uint32_t group_limit_ = DBManager::kGroupLimit;

  StoreBlocks blocks_;
  std::vector<int32_t> shown_block_ids_;
  int32_t current_block_ = STORE_BLOCK_BASE;
  bool store_page_restored_ = false;
  std::string partner_language_;
};

}  // namespace marrowleaf::desktop
