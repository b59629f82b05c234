#include "data/DataManager.h"

#include <algorithm>

#include "data/HomeCache.h"
#include "data/StoreBlockLoader.h"
#include "data/StorePageMemory.h"
#include "platform/sdk/activity.h"
#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "platform/sdk/events.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/utils/CfgWrapper.h"
#include "platform/utils/FileRemoval.h"

namespace marrowleaf::desktop {
namespace {

// The partner whose store blocks come in the partner format and who picks the shown block itself.
constexpr int kPartnerFormatPartner = 21;

void SendNotification(int type) {
  SendEvent(GetEventHandler(), EVT_USERDEFINED, DataManager::kNotificationEvent, type);
}

// Whether a tile drawing the first book would look different.
bool FirstBooksDiffer(const Book& left, const Book& right) {
  if (static_cast<bool>(left.settings) != static_cast<bool>(right.settings))
    return true;
  if (left.settings && (left.settings->cpage != right.settings->cpage ||
                        left.settings->npage != right.settings->npage ||
                        left.settings->favorite != right.settings->favorite ||
                        left.settings->completed != right.settings->completed)) {
    return true;
  }
  // The texts and the cover's identity count too: a book retitled or given a new cover by the
  // indexer would otherwise keep its old tile until something else changed.
  return left.loan_exp != right.loan_exp || left.cloud != right.cloud ||
         left.is_sample != right.is_sample || left.local != right.local ||
         left.cloud_ext != right.cloud_ext || left.path != right.path ||
         left.title != right.title || left.author != right.author ||
         left.fast_hash != right.fast_hash || left.resource_id != right.resource_id;
}

bool ItemsDiffer(const Item& left, const Item& right) {
  if (left.type_ != right.type_ || left.books_count_ != right.books_count_ ||
      left.timestamp_ != right.timestamp_ || left.books_.size() != right.books_.size()) {
    return true;
  }
  if (left.books_.empty())
    return false;
  const auto& a = left.books_[0];
  const auto& b = right.books_[0];
  if (!a || !b)
    return static_cast<bool>(a) != static_cast<bool>(b);
  return FirstBooksDiffer(*a, *b);
}

bool ListsDiffer(const Items& old_list, const Items& new_list) {
  if (old_list.size() != new_list.size())
    return true;
  for (size_t i = 0; i < old_list.size(); ++i) {
    if (static_cast<bool>(old_list[i]) != static_cast<bool>(new_list[i]))
      return true;
    if (old_list[i] && ItemsDiffer(*old_list[i], *new_list[i]))
      return true;
  }
  return false;
}

}  // namespace

DataManager* DataManager::Instance() {
  static DataManager* instance = new DataManager(DBManager::Instance(), SendNotification);
  return instance;
}

DataManager::DataManager(DBManager* db, Notifier notifier)
    : db_(db), notifier_(std::move(notifier)) {}

DataManager::~DataManager() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stop_ = true;
    // Requests that will never run no longer count as pending work.
    if (!queries_.empty())
      ReportBackgroundWork(-static_cast<int>(queries_.size()));
    queries_.clear();
  }
  condition_.notify_all();
  if (thread_future_.valid())
    thread_future_.wait();
}

void DataManager::init() {
  loadFromCache();
  std::lock_guard<std::mutex> lock(mutex_);
  if (!thread_future_.valid()) {
    thread_future_ = std::async(std::launch::async, [this] { thread(); });
  }
}

void DataManager::enqueue(QueryType type, int64_t parameter) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!running() || stop_)
      return;
    queries_.emplace_back(type, parameter);
    ReportBackgroundWork(+1);
  }
  condition_.notify_all();
}

void DataManager::requestBookItems(int max) {
  enqueue(eQueryBookItems, max);
}
void DataManager::requestBooksByTimestamp(int64_t ts) {
  enqueue(eQueryBooksByTimestamp, ts);
}
void DataManager::requestNotViewedNotificationsCount() {
  enqueue(eQueryNotViewedNotificationsCount, 0);
}

void DataManager::thread() {
  for (;;) {
    Query query;
    {
      std::unique_lock<std::mutex> lock(mutex_);
      condition_.wait(lock, [this] { return stop_ || !queries_.empty(); });
      if (stop_)
        return;
      query = queries_.front();
      queries_.pop_front();
    }
    runQuery(query);
    if (notifier_)
      notifier_(query.first);
    ReportBackgroundWork(-1);
  }
}

void DataManager::runQuery(const Query& query) {
  switch (query.first) {
    case eQueryNone:
      MW_LOG(MW_LOG_ERROR, "Error query [eQueryNone]");
      break;
    case eQueryBookItems: {
      bool read = false;
      Items result =
          db_->getBookItems(static_cast<size_t>(std::max<int64_t>(query.second, 0)), &read);
      std::lock_guard<std::mutex> lock(mutex_);
      // A library that could not be read leaves the list on screen as it is.
      pending_read_ = read;
      if (read)
        pending_items_.swap(result);
      break;  // the previous pending list is dropped here, outside the lock's users' way
    }
    case eQueryBooksByTimestamp: {
      std::shared_ptr<Item> group = db_->getBooksByTimestamp(query.second);
      std::lock_guard<std::mutex> lock(mutex_);
      pending_groups_.push_back(std::move(group));
      break;
    }
    case eQueryNotViewedNotificationsCount: {
      {
        std::lock_guard<std::mutex> lock(mutex_);
        notifications_count_ = -1;
      }
      const int count = db_->getNotViewedNotificationsCount();
      std::lock_guard<std::mutex> lock(mutex_);
      notifications_count_ = count;
      MW_LOG(MW_LOG_INFO, "Not viewed notifications count query, found [%d] notifications", count);
      break;
    }
    default:
      MW_LOG(MW_LOG_ERROR, "Not support query type [%d]", static_cast<int>(query.first));
      break;
  }
}

bool DataManager::applyBookItems() {
  Items old_list;
  Items refresh;
  bool changed = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!running() || !pending_read_)
      return false;
    from_library_ = true;
    old_list.swap(items_);
    items_.reserve(pending_items_.size());
    for (const std::shared_ptr<Item>& item : pending_items_) {
      auto kept = old_list.end();
      if (item && item->type_ == ITEM_ADDED_GROUP) {
        // An unchanged group keeps the books it has loaded; they are asked for again below.
        kept = std::find_if(old_list.begin(), old_list.end(), [&](const std::shared_ptr<Item>& o) {
          return o && o->type_ == item->type_ && o->books_count_ == item->books_count_ &&
                 o->timestamp_ == item->timestamp_;
        });
      }
      if (kept != old_list.end()) {
        items_.push_back(*kept);
        refresh.push_back(*kept);
      } else {
        items_.push_back(item);
      }
    }
    changed = ListsDiffer(old_list, items_);
  }
  // A request takes the same lock, so the follow-ups are posted after it is released.
  for (const std::shared_ptr<Item>& group : refresh) requestBooksByTimestamp(group->timestamp_);
  return changed;
}

void DataManager::applyGroupBooks() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!running())
    return;
  for (const std::shared_ptr<Item>& group : pending_groups_) {
    if (!group)
      continue;
    auto found = std::find_if(items_.begin(), items_.end(), [&](const std::shared_ptr<Item>& item) {
      return item && item->type_ == ITEM_ADDED_GROUP && item->timestamp_ == group->timestamp_;
    });
    if (found == items_.end())
      continue;
    Item& item = **found;
    item.books_count_ = group->books_count_;
    item.books_ = group->books_;
    if (item.books_.size() > group_limit_ && item.books_[group_limit_ - 1]) {
      item.books_[group_limit_ - 1]->is_more = true;
    }
  }
  pending_groups_.clear();
}

bool DataManager::getNotViewedNotificationsCount(int& count) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!running() || notifications_count_ == -1)
    return false;
  count = notifications_count_;
  return true;
}

std::shared_ptr<Item> DataManager::getItem(int block, size_t index) {
  std::lock_guard<std::mutex> lock(mutex_);
  const Items* list = nullptr;
  if (block == DEVICE_BLOCK) {
    list = &items_;
  } else if (block >= STORE_BLOCK_BASE) {
    auto found = blocks_.store_blocks_.find(block);
    if (found != blocks_.store_blocks_.end())
      list = &found->second;
  }
  return list != nullptr && index < list->size() ? (*list)[index] : nullptr;
}

size_t DataManager::getItemsCount(int block) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (block == DEVICE_BLOCK)
    return items_.size();
  if (block < STORE_BLOCK_BASE)
    return 0;
  auto found = blocks_.store_blocks_.find(block);
  return found == blocks_.store_blocks_.end() ? 0 : found->second.size();
}

void DataManager::markAsRead(const std::shared_ptr<Book>& book, bool completed) {
  if (!book)
    return;
  if (db_->markAsRead(static_cast<int>(book->id), completed) == 0 && book->settings) {
    book->settings->completed = completed ? 1 : 0;
  }
}

// Only what is gone from the device leaves the library: a file that can't be deleted (a card
// that is write-protected) keeps its row, and a file already gone loses its row too.
int DataManager::deleteFiles(const std::vector<std::string>& paths) {
  std::vector<std::string> gone;
  int kept = 0;
  for (const std::string& path : paths) {
    if (utilities::unlink_file_with_af(path) == 1 || pk_access(path.c_str(), 0) != 0) {
      gone.push_back(path);
    } else {
      MW_LOG(MW_LOG_WARNING, "Can't delete [%s]", path.c_str());
      ++kept;
    }
  }
  if (db_->removeFiles(gone) != 0)
    MW_LOG(MW_LOG_ERROR, "The library kept the rows of %zu deleted files", gone.size());
  return kept;
}

int DataManager::deleteGroupFiles(const std::shared_ptr<Item>& item) {
  if (!item)
    return 0;
  const std::shared_ptr<Item> files = db_->getFilesRelatedToBooksIdByTimestamp(item->timestamp_);
  std::vector<std::string> paths;
  for (const std::shared_ptr<Book>& file : files->books_) paths.push_back(file->path);
  return deleteFiles(paths);
}

int DataManager::deleteBook(const std::shared_ptr<Book>& book) {
  if (!book)
    return 0;
  return deleteFiles(db_->getBookLocalFiles(book->id));
}

int DataManager::removeFromHome(const std::shared_ptr<Item>& item) {
  if (!item)
    return 0;
  switch (item->type_) {
    case ITEM_ADDED:
    case ITEM_OPENED:
      return item->books_.empty() || !item->books_[0]
                 ? -1
                 : db_->removeFromAddedAndOpened(item->books_[0]->id);
    case ITEM_ADDED_GROUP:
      return db_->removeFromAddedAndOpenedByTimestamp(item->timestamp_);
    default:
      return item->type_;
  }
}

void DataManager::updateStorageIds() {
  db_->updateStorageIds();
}
bool DataManager::hasCloudStorages() {
  return db_->hasCloudStorages();
}

void DataManager::SaveToCache() {
  Items items;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // Until the library was read the list is the cache's own: the file already holds it.
    if (!from_library_) {
      MW_LOG(MW_LOG_INFO, "The library was not read; the cache file is kept");
      return;
    }
    items = items_;
  }
  HomeCache::Save(items);
}

void DataManager::loadFromCache() {
  Items items = HomeCache::Load();
  std::lock_guard<std::mutex> lock(mutex_);
  items_.insert(items_.end(), items.begin(), items.end());
}

int DataManager::firstBlockWithItems(const StoreBlocks& blocks, int from) {
  const int count = static_cast<int>(blocks.block_ids_.size());
  for (int n = std::max(from, 0); n < count; ++n) {
    if (blocks.HoldsItems(blocks.block_ids_[n]))
      return n;
  }
  for (int n = 0; n < count; ++n) {
    if (blocks.HoldsItems(blocks.block_ids_[n]))
      return n;
  }
  return -1;
}

bool DataManager::chooseFirstStoreBlock(const StoreBlocks& blocks, bool advance) {
  int index = 0;
  if (!advance && StorePageMemory::MarkerExists()) {
    // The block of this boot is restored once per process; later loads keep the one on screen.
    if (store_page_restored_)
      return false;
    store_page_restored_ = true;
    if (!StorePageMemory::ReadIndex(0, &index))
      return false;
    const int n = firstBlockWithItems(blocks, index);
    if (n < 0)
      return false;
    current_block_ = STORE_BLOCK_BASE + n;
    return true;
  }
  StorePageMemory::CreateMarker();
  if (!StorePageMemory::ReadIndex(-1, &index))
    return false;
  const int n = firstBlockWithItems(blocks, index + 1);
  if (n < 0)
    return false;
  current_block_ = STORE_BLOCK_BASE + n;
  StorePageMemory::WriteIndex(n);
  return true;
}

bool DataManager::loadStoreBlocks(bool advance) {
  const int partner = GetCustomizedPartner();
  StoreBlocks blocks;
  if (pk_access(StoreBlockLoader::kPath, 0) == 0) {
    if (partner == kPartnerFormatPartner && partner_language_.empty()) {
      utilities::CfgWrapper global("/mnt/ext1/system/config/global.cfg");
      partner_language_ = global.read("language", "en");
    }
    utilities::CfgWrapper cfg(StoreBlockLoader::kPath);
    blocks = StoreBlockLoader(cfg, partner_language_).Load(partner == kPartnerFormatPartner);
  }
  bool chosen = partner == 0 && chooseFirstStoreBlock(blocks, advance);
  std::vector<int32_t> shown;
  for (int32_t id : blocks.block_ids_) {
    if (blocks.HoldsItems(id))
      shown.push_back(id);
  }
  if (!shown.empty() && std::find(shown.begin(), shown.end(), current_block_) == shown.end()) {
    current_block_ = shown.front();
    chosen = true;
    if (partner == 0)
      StorePageMemory::WriteIndex(0);
  }
  // Only the swap happens under the lock; the file work above runs without it.
  std::lock_guard<std::mutex> lock(mutex_);
  std::swap(blocks_, blocks);
  shown_block_ids_.swap(shown);
  return chosen;
}

void DataManager::switchStoreBlock(int step) {
  if (shown_block_ids_.empty())
    return;
  const auto found = std::find(shown_block_ids_.begin(), shown_block_ids_.end(), current_block_);
  const int count = static_cast<int>(shown_block_ids_.size());
  int position =
      (found == shown_block_ids_.end() ? 0 : static_cast<int>(found - shown_block_ids_.begin())) +
      step;
  if (position < 0)
    position = count - 1;
  if (position >= count)
    position = 0;
  current_block_ = shown_block_ids_[position];
}

int32_t DataManager::getCurrentStoreBlockType() {
  std::shared_ptr<Item> first = getItem(current_block_, 0);
  return first ? first->type_ : ITEM_STORE_BOOK;
}

const std::string& DataManager::blockText(const std::vector<std::string>& texts, int id) {
  static const std::string empty;
  if (id < STORE_BLOCK_BASE)
    return empty;
  const size_t n = static_cast<size_t>(id - STORE_BLOCK_BASE);
  return n < texts.size() ? texts[n] : empty;
}

std::string DataManager::getStoreBlockName(int id) const {
  return blockText(blocks_.block_names_, id);
}
std::string DataManager::getStoreBlockTitle(int id) const {
  return blockText(blocks_.block_titles_, id);
}
std::string DataManager::getStoreBlockUrl(int id) const {
  return blockText(blocks_.block_urls_, id);
}

}  // namespace marrowleaf::desktop
