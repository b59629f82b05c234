#include "data/DBManager.h"

#include <sqlite3.h>

#include <algorithm>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "data/DbQueries.h"
#include "platform/sdk/clock.h"
#include "platform/sdk/device.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/log.h"
#include "platform/utils/DbCreator.h"
#include "platform/utils/IcuCollation.h"

namespace marrowleaf::desktop {

using utilities::Statement;
namespace db = utilities::db;

namespace {

// Store prices of a sample are shown for a day after the store service fetched them.
constexpr int64_t kPriceLifetimeSeconds = 86400;

#define DB_LOG(level, ...) MW_LOGM(DBManager::kModule, (level), __VA_ARGS__)

const char* TrueFalse(bool value) {
  return value ? "true" : "false";
}

// A time from a file property; strtoll saturates what is out of range.
int64_t ParseSeconds(const std::string& text) {
  return static_cast<int64_t>(std::strtoll(text.c_str(), nullptr, 10));
}

// A count, page number or flag of the library, clamped to the 32-bit range of the records.
int32_t ColumnCount(const Statement& st, int column) {
  return static_cast<int32_t>(std::clamp<int64_t>(st.columnInt64(column), INT32_MIN, INT32_MAX));
}

// The whole seconds of a time stored as a real number, within the range of a time.
int64_t WholeSeconds(double value, int64_t lowest) {
  // 2^63 is the first double past the range; every double below it converts exactly.
  constexpr double kPastTheRange = 9223372036854775808.0;
  const double floored = std::floor(value);
  if (!(floored < kPastTheRange))
    return INT64_MAX;
  return std::max(lowest, static_cast<int64_t>(std::max(floored, -kPastTheRange)));
}

// Binds values to the parameters 1, 2, ... in order. A value the statement refuses is logged and
// its error code returned; 0 when every value is bound.
template <typename... Values>
int BindAll(Statement& st, const Values&... values) {
  try {
    int index = 0;
    (st.bind(++index, values), ...);
    return 0;
  } catch (const Statement::BindError& error) {
    DB_LOG(MW_LOG_ERROR, " err:[%d] ", error.code());
    return error.code();
  }
}

bool SameBook(const std::shared_ptr<Item>& left, const std::shared_ptr<Item>& right) {
  return !left->books_.empty() && !right->books_.empty() && left->books_[0] && right->books_[0] &&
         left->books_[0]->id == right->books_[0]->id;
}

}  // namespace

DBManager* DBManager::Instance() {
  static DBManager* instance = [] {
    auto* created = new DBManager();
    created->init();
    return created;
  }();
  return instance;
}

void DBManager::logGuard(const char* expression, const char* value, const char* message) {
  mw_print_log2_with_module(kModule, MW_LOG_ERROR, __FILE__, __LINE__, __func__,
                            "Condition: \"%s\", return%s]%s", expression, value, message);
}

void DBManager::init() {
  std::lock_guard<std::mutex> lock(mutex_);
  ensureOpen();
}

bool DBManager::ensureOpen() {
  if (db_.isOpen())
    return true;
  if (platform::CurrentClock().NowMs() < next_open_ms_)
    return false;
  if (open()) {
    retry_ms_ = kFirstRetryMs;
    return true;
  }
  // A try can itself take the busy timeout: the pause counts from its end.
  next_open_ms_ = platform::CurrentClock().NowMs() + retry_ms_;
  retry_ms_ = std::min(retry_ms_ * 2, kLastRetryMs);
  return false;
}

bool DBManager::open() {
  // Statements of an earlier connection can't run on a new one.
  statements_.clear();
  const int err = utilities::DbCreator::GetExplorerDb(db_, utilities::DbCreator::kExplorerDbPath);
  if (err != 0) {
    logGuard("err != 0", "", "Error init DB");
    return false;
  }
  const char* profile = GetCurrentProfile();
  // The SDK names the default profile with an empty text.
  const std::string name = profile != nullptr && *profile != '\0' ? profile : "default";
  profile_id = getProfileByName(name);
  if (profile_id < 0)
    profile_id = addNewProfile(name);
  initCollations();
  storage_ids = db::DbManager::Instance()->GetCurrentStorageIds();
  return true;
}

bool DBManager::beginRead() {
  if (db_.execute("BEGIN") != SQLITE_DONE)
    return false;
  if (db_.execute("SELECT count(*) FROM sqlite_master;") == SQLITE_DONE)
    return true;
  DB_LOG(MW_LOG_WARNING, "library can't be read: %s", db_.lastError().c_str());
  db_.execute("ROLLBACK");
  return false;
}

void DBManager::initCollations() {
  if (db_.handle() != nullptr)
    utilities::RegisterIcuCollationFunctions(db_.handle());
  const std::string language = CurrentLanguage();
  if (db_.execute("SELECT icu_load_collation('" + language + "', 'locale_dependent_collation');") ==
      SQLITE_DONE) {
    collate_clause = " COLLATE locale_dependent_collation ";
  } else {
    DB_LOG(MW_LOG_ERROR, "Do not support custom_collation");
    collate_clause = " ";
  }
  collate_with_numbers_clause =
      db_.execute("SELECT icu_load_collation_with_numbers('" + language +
                  "', 'locale_dependent_collation_with_numbers');") == SQLITE_DONE
          ? " COLLATE locale_dependent_collation_with_numbers "
          : " ";
}

int DBManager::getProfileByName(const std::string& name) {
  std::shared_ptr<Statement> st = db_.prepare("SELECT id FROM profiles WHERE name = ? ;");
  if (!st.get()) {
    logGuard("!st.get()", "(\"-1\")", "");
    return -1;
  }
  if (BindAll(*st, name) != 0)
    return -1;
  return st->step() == SQLITE_ROW ? ColumnCount(*st, 0) : -1;
}

int DBManager::addNewProfile(const std::string& name) {
  std::shared_ptr<Statement> st = db_.prepare("INSERT INTO profiles (name) VALUES (?) ;");
  if (!st.get()) {
    logGuard("!st.get()", "(\"-1\")", "");
    return -1;
  }
  if (BindAll(*st, name) != 0)
    return -1;
  return st->step() == SQLITE_DONE ? static_cast<int>(db_.lastInsertRowId()) : -1;
}

void DBManager::updateStorageIds() {
  std::vector<int64_t> ids = db::DbManager::Instance()->GetCurrentStorageIds();
  std::lock_guard<std::mutex> lock(mutex_);
  storage_ids.swap(ids);
}

bool DBManager::hasCloudStorages() {
  return !db::DbManager::Instance()->GetCloudStorageIds().empty();
}

std::string DBManager::storageClause() const {
  return DbQueries::toStringNoSubquery("file.storageid", storage_ids);
}

Items DBManager::getBookItems(size_t max, bool* read) {
  std::lock_guard<std::mutex> lock(mutex_);
  const bool readable = ensureOpen() && beginRead();
  if (read != nullptr)
    *read = readable;
  if (!readable)
    return Items();
  Items list = readBookItems(max);
  db_.execute("COMMIT");
  return list;
}

Items DBManager::readBookItems(size_t max) {
  Items opened = getOpenedBooks(max);
  int64_t since = 1;
  if (!opened.empty() && opened.size() == max)
    since = opened.back()->timestamp_;
  Items added = getAddedBooks(max, since);
  DB_LOG(MW_LOG_DETAIL, "added.size() [%d]", static_cast<int>(added.size()));
  Items acsms = getAcsmBooks(max, since);
  DB_LOG(MW_LOG_DETAIL, "acsms.size() [%d]", static_cast<int>(acsms.size()));

  // A book both opened and added appears once: as opened when it was opened after it was added,
  // as added when it was added again after its last open.
  for (auto a = added.begin(); a != added.end();) {
    auto o =
        (*a)->books_count_ == 1
            ? std::find_if(opened.begin(), opened.end(),
                           [&](const std::shared_ptr<Item>& item) { return SameBook(item, *a); })
            : opened.end();
    if (o == opened.end()) {
      ++a;
    } else if ((*a)->books_[0]->ts_added <= (*o)->books_[0]->settings->opentime) {
      a = added.erase(a);
    } else {
      opened.erase(o);
      ++a;
    }
  }
  DB_LOG(MW_LOG_DETAIL, "after remove added.size() [%d]", static_cast<int>(added.size()));
  acsms.erase(std::remove_if(acsms.begin(), acsms.end(),
                             [&](const std::shared_ptr<Item>& acsm) {
                               return acsm->books_count_ == 1 &&
                                      std::any_of(opened.begin(), opened.end(),
                                                  [&](const std::shared_ptr<Item>& item) {
                                                    return SameBook(item, acsm);
                                                  });
                             }),
              acsms.end());
  DB_LOG(MW_LOG_DETAIL, "after remove acsms.size() [%d]", static_cast<int>(acsms.size()));

  Items list = std::move(opened);
  list.insert(list.end(), added.begin(), added.end());
  list.insert(list.end(), acsms.begin(), acsms.end());
  std::stable_sort(list.begin(), list.end(),
                   [](const std::shared_ptr<Item>& left, const std::shared_ptr<Item>& right) {
                     return left->timestamp_ > right->timestamp_;
                   });
  if (list.size() > max)
    list.resize(max);
  if (max > 0 && list.size() == max) {
    auto more = std::make_shared<Item>();
    more->type_ = ITEM_MORE;
    list.back() = more;
  }
  return list;
}

// One item of one book for each row whose book can be read; rows of unreadable books are dropped.
void DBManager::appendSingleBookItems(Statement& st, int type, int book_column, int time_column,
                                      Items* items) {
  while (st.step() == SQLITE_ROW)
    appendSingleBookItem(type, st.columnInt64(book_column), st.columnInt64(time_column), items);
}

void DBManager::appendSingleBookItem(int type, int64_t book_id, int64_t timestamp, Items* items) {
  std::shared_ptr<Book> book = getBook(book_id);
  if (!book)
    return;
  auto item = std::make_shared<Item>();
  item->type_ = type;
  item->books_count_ = 1;
  item->timestamp_ = timestamp;
  item->books_.push_back(std::move(book));
  items->push_back(std::move(item));
}

Items DBManager::getOpenedBooks(size_t max) {
  Items items;
  // The text changes only with the storages, the profile and the limit: it is prepared once.
  std::shared_ptr<Statement> st =
      cachedStatement(DbQueries::openedBooks(storageClause(), profile_id, max));
  if (!st)
    return items;
  appendSingleBookItems(*st, ITEM_OPENED, 0, 1, &items);
  st->reset();
  return items;
}

Items DBManager::getAddedBooks(size_t max, int64_t since) {
  Items items;
  std::shared_ptr<Statement> st = db_.prepare(DbQueries::addedBooks(storageClause(), since, max));
  if (!st)
    return items;
  while (st->step() == SQLITE_ROW) {
    auto item = std::make_shared<Item>();
    item->books_count_ = ColumnCount(*st, 0);
    item->timestamp_ = st->columnInt64(1);
    if (item->books_count_ == 1) {
      const int64_t id = st->columnInt64(2);
      DB_LOG(MW_LOG_DETAIL, "added book - id [%lld] timestamp [%lld]", static_cast<long long>(id),
             static_cast<long long>(item->timestamp_));
      std::shared_ptr<Book> book = getBook(id);
      if (!book)
        continue;
      item->type_ = ITEM_ADDED;
      item->books_.push_back(std::move(book));
    } else {
      DB_LOG(MW_LOG_DETAIL, "added books - count [%d] timestamp [%lld]", item->books_count_,
             static_cast<long long>(item->timestamp_));
      item->type_ = ITEM_ADDED_GROUP;
    }
    items.push_back(std::move(item));
  }
  return items;
}

// The acsm statement groups every visible book added since the bound before its HAVING can keep
// the acsm ones, so on a large library it reads all of them (with no opened book the bound is 1,
// the whole library) however few acsm files there are. A row of it needs a visible book added
// since the bound with a file in a present storage whose extension is "acsm" (the minimum that
// its HAVING compares is one of the book's extensions), so no book added before the oldest such
// book can pass: the bound is raised to that book's time, found through the files index on the
// acsm files alone. The added time is the book's, shared by all of its files, so a book is either
// grouped whole or not at all, and the rows and their order stay those of the lower bound.
// Returns false when no such book exists (the statement would return nothing); an error of the
// look-up keeps the bound as it is.
bool DBManager::acsmLowerBound(int64_t since, int64_t* bound) {
  *bound = since;
  std::shared_ptr<Statement> st = db_.prepare(DbQueries::acsmLowerBound(storageClause()));
  if (!st || BindAll(*st, since) != 0 || st->step() != SQLITE_ROW)
    return true;
  sqlite3_stmt* row = st->handle();
  switch (sqlite3_column_type(row, 0)) {
    case SQLITE_NULL:
      return false;
    case SQLITE_INTEGER:
      *bound = std::max<int64_t>(sqlite3_column_int64(row, 0), since);
      return true;
    case SQLITE_FLOAT:
      *bound = WholeSeconds(sqlite3_column_double(row, 0), since);
      return true;
    default:
      // A text time sorts above every number: any bound keeps it, so keep the one given.
      return true;
  }
}

// Only the books with an acsm file can be rows of the acsm statement, and there are few of them,
// but the statement, told nothing of that, still groups every visible book added since the bound:
// on a large library that is most of the list's time. DbQueries::acsmBooksWithAcsmFile returns
// the same rows through the acsm files, unordered; here they are put in the statement's order,
// newest first, and cut to its limit. Only rows with equal added times could come out in another
// order than the statement's plan gives them (and its limit could cut between them), so the rows
// are taken only when no two of those it keeps, and the first one it drops, are equal, and every
// added time is a whole number, whose order is plain. Returns false when they can't be taken (a
// tie, another kind of time, an error): the caller then runs the acsm statement itself.
bool DBManager::readAcsmRowsWithoutTies(size_t max, int64_t since, std::vector<AcsmRow>* rows) {
  std::shared_ptr<Statement> st =
      cachedStatement(DbQueries::acsmBooksWithAcsmFile(storageClause()));
  if (!st || BindAll(*st, since) != 0)
    return false;
  bool whole = true;
  int code = SQLITE_ROW;
  while (whole && (code = st->step()) == SQLITE_ROW) {
    whole = sqlite3_column_type(st->handle(), 0) == SQLITE_INTEGER;
    rows->push_back(AcsmRow{st->columnInt64(1), st->columnInt64(0)});
  }
  st->reset();
  if (!whole || code != SQLITE_DONE)
    return false;
  std::sort(rows->begin(), rows->end(),
            [](const AcsmRow& left, const AcsmRow& right) { return left.time > right.time; });
  const size_t compared = rows->size() > max ? max + 1 : rows->size();
  for (size_t i = 1; i < compared; ++i) {
    if ((*rows)[i - 1].time == (*rows)[i].time)
      return false;
  }
  if (rows->size() > max)
    rows->resize(max);
  return true;
}

Items DBManager::getAcsmBooks(size_t max, int64_t since) {
  Items items;
  int64_t bound = since;
  if (acsm_shortcuts_) {
    std::vector<AcsmRow> rows;
    if (readAcsmRowsWithoutTies(max, since, &rows)) {
      for (const AcsmRow& row : rows) appendSingleBookItem(ITEM_ADDED, row.id, row.time, &items);
      return items;
    }
    if (!acsmLowerBound(since, &bound))
      return items;
  }
  std::shared_ptr<Statement> st = db_.prepare(DbQueries::acsmBooks(storageClause(), bound, max));
  if (st)
    appendSingleBookItems(*st, ITEM_ADDED, 1, 0, &items);
  return items;
}

std::shared_ptr<Item> DBManager::getBooksByTimestamp(int64_t ts) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto item = std::make_shared<Item>();
  item->type_ = ITEM_ADDED_GROUP;
  item->timestamp_ = ts;
  std::shared_ptr<Statement> st =
      db_.prepare(DbQueries::booksByTimestamp(storageClause(), ts, collate_with_numbers_clause));
  if (!st)
    return item;
  int row = 0;
  for (; st->step() == SQLITE_ROW; ++row) {
    // Only the tiles a group shows, its more tile and one beyond are read, however large it is.
    if (row > static_cast<int>(kGroupLimit) + 1)
      continue;
    if (std::shared_ptr<Book> book = getBook(st->columnInt64(0)))
      item->books_.push_back(book);
  }
  item->books_count_ = row;
  DB_LOG(MW_LOG_DETAIL, "books by timestamp [%lld], count [%d]", static_cast<long long>(ts), row);
  return item;
}

std::shared_ptr<Item> DBManager::getFilesRelatedToBooksIdByTimestamp(int64_t ts) {
  std::lock_guard<std::mutex> lock(mutex_);
  auto item = std::make_shared<Item>();
  item->type_ = ITEM_ADDED_GROUP;
  item->timestamp_ = ts;
  const std::string query = DbQueries::filesByTimestamp(storageClause(), ts);
  std::fprintf(stderr, "query.str() [%s]\n", query.c_str());
  std::shared_ptr<Statement> st = db_.prepare(query);
  if (!st)
    return item;
  while (st->step() == SQLITE_ROW) {
    auto book = std::make_shared<Book>();
    book->path = st->columnText(0);
    item->books_.push_back(std::move(book));
  }
  item->books_count_ = static_cast<int32_t>(item->books_.size());
  DB_LOG(MW_LOG_DETAIL, "files related to books id by timestamp [%lld], count [%d]",
         static_cast<long long>(ts), item->books_count_);
  return item;
}

std::shared_ptr<Statement> DBManager::cachedStatement(const std::string& sql) {
  auto found = statements_.find(sql);
  if (found != statements_.end()) {
    found->second->reset();
    found->second->clear_bindings();
    return found->second;
  }
  std::shared_ptr<Statement> st = db_.prepare(sql);
  if (st)
    statements_.emplace(sql, st);
  return st;
}

std::shared_ptr<Book> DBManager::getBook(int64_t id) {
  std::shared_ptr<Statement> st = cachedStatement(DbQueries::book(storageClause()));
  if (!st)
    return nullptr;
  if (BindAll(*st, static_cast<int64_t>(profile_id), id) != 0)
    return nullptr;
  if (st->step() != SQLITE_ROW) {
    st->reset();
    return nullptr;
  }
  auto book = std::make_shared<Book>();
  book->id = st->columnInt64(0);
  book->title = st->columnText(1);
  book->author = st->columnText(2);
  book->ts_added = st->columnInt64(10);
  book->cloud = st->columnInt64(11) != 0;
  book->cloud_ext = st->columnText(12);
  book->local = st->columnInt64(13) != 0;
  book->path = st->columnText(14);
  book->fast_hash = st->columnBlob(15);
  book->resource_id = st->columnBlob(16);
  auto settings = std::make_shared<BookSettings>();
  settings->position = st->columnText(17);
  settings->cpage = ColumnCount(*st, 18);
  settings->npage = ColumnCount(*st, 19);
  settings->opentime = st->columnInt64(20);
  settings->completed = ColumnCount(*st, 21);
  settings->favorite = ColumnCount(*st, 22);
  settings->custom = st->columnText(23);
  settings->position_ts = st->columnInt64(24);
  settings->favorite_ts = st->columnInt64(25);
  book->settings = std::move(settings);
  st->reset();
  const FileProps props = getFileProps(book->fast_hash);
  readFileProps(*book, props);
  DB_LOG(MW_LOG_DETAIL,
         "book \n\t id [%lld]\n\t path [%s]\n\t title [%s]\n\t on cloud [%s]\n\t local [%s]\n\t "
         "cloud_file_ext [%s]\n",
         static_cast<long long>(book->id), book->path.c_str(), book->title.c_str(),
         TrueFalse(book->cloud), TrueFalse(book->local), book->cloud_ext.c_str());
  readStoreData(*book, props);
  return book;
}

void DBManager::readFileProps(Book& book, const FileProps& props) {
  book.drm = props.value(db::kFilePropDrm) == "1" ? 1 : 0;
  const std::string& loan = props.value(db::kFilePropLoanExpiry);
  if (!loan.empty() && loan != "0") {
    book.loan_exp = ParseSeconds(loan);
    book.loan_id = props.value(db::kFilePropLoanId);
  }
}

void DBManager::readStoreData(Book& book, const FileProps& props) {
  const std::string& json = props.value(db::kFilePropStoreData);
  if (json.empty())
    return;
  store_wrapper_.clear();
  if (!store_wrapper_.read(json))
    return;
  book.is_sample = true;
  book.store_id = store_wrapper_.storeId();
  if (static_cast<int64_t>(std::time(nullptr)) <
      store_wrapper_.priceTimestamp() + kPriceLifetimeSeconds) {
    book.store_price = store_wrapper_.price();
    book.store_price_old = store_wrapper_.priceOld();
  }
}

bool DBManager::FileProps::wanted(int64_t prop) {
  return prop == db::kFilePropDrm || prop == db::kFilePropLoanExpiry ||
         prop == db::kFilePropLoanId || prop == db::kFilePropStoreData;
}

const std::string& DBManager::FileProps::value(db::FileProp prop) const {
  static const std::string kNone;
  const auto found = values.find(prop);
  return found == values.end() ? kNone : found->second;
}

// The properties a book's tile shows, read together: one look-up per book instead of one for
// each. It reads every property of the file and keeps those it needs: a list of the wanted types
// would cost a temporary table in each look-up, and a file has few properties. A property the
// library does not hold reads as empty, as does every one when the look-up fails.
DBManager::FileProps DBManager::getFileProps(const std::string& fast_hash) {
  FileProps props;
  std::shared_ptr<Statement> st =
      cachedStatement("SELECT prop_type, value FROM file_props WHERE fast_hash = ? ");
  if (!st)
    return props;
  try {
    st->bindBlob(1, fast_hash);
  } catch (const Statement::BindError& error) {
    DB_LOG(MW_LOG_ERROR, " err:[%d] ", error.code());
    return props;
  }
  while (st->step() == SQLITE_ROW) {
    // The type as a look-up by type compares it: a whole number, or a real one equal to it; a
    // text never equals a number.
    const int type = sqlite3_column_type(st->handle(), 0);
    const int64_t prop = st->columnInt64(0);
    const bool whole = type == SQLITE_INTEGER ||
                       (type == SQLITE_FLOAT &&
                        sqlite3_column_double(st->handle(), 0) == static_cast<double>(prop));
    if (!whole || !FileProps::wanted(prop))
      continue;
    const std::string value = st->columnText(1);
    DB_LOG(MW_LOG_DETAIL, "GetFileProp %d %s", static_cast<int>(prop), value.c_str());
    // The first value of a property counts, as a look-up of that property alone would give it.
    props.values.emplace(prop, value);
  }
  // A statement left stepping would keep the library's read lock outside a read transaction.
  st->reset();
  return props;
}

int DBManager::getNotViewedNotificationsCount() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::shared_ptr<Statement> st = db_.prepare(
      "\tSELECT\t\t\tcount(t.timestampid)\t\tFROM\ttags2 t INNER JOIN timestamps ts ON ts.id = "
      "t.timestampid\t\tWHERE\t\t\tprofileid = ? \t\t\tAND (is_viewed = 0 OR is_viewed is NULL)");
  if (!st.get()) {
    logGuard("!st.get()", "(\"-1\")", "");
    return -1;
  }
  if (BindAll(*st, profile_id) != 0)
    return -1;
  return st->step() == SQLITE_ROW ? ColumnCount(*st, 0) : -1;
}

void DBManager::bumpChangeCounter() {
  if (db_.changes() > 0)
    announceChange();
}

void DBManager::announceChange() {
  if (DeviceSharedState* state = GetDeviceSharedState()) {
    // Other processes map the same bytes, so the increment must be one atomic operation.
    state->library_change_counter.fetch_add(1u);
  }
}

int DBManager::markAsRead(int book_id, bool completed) {
  std::lock_guard<std::mutex> lock(mutex_);
  const char* statements[] = {
      "UPDATE books_settings SET completed = ? WHERE bookid = ? AND profileid=?",
      "INSERT OR IGNORE INTO books_settings(completed,bookid,profileid) VALUES (?,?,?)"};
  // The update changes an existing row; the insert adds one when the profile had none.
  for (const char* sql : statements) {
    std::shared_ptr<Statement> st = db_.prepare(sql);
    if (!st.get()) {
      logGuard("!st.get()", "(\"MW_FAILED\")", "");
      return -1;
    }
    if (const int code = BindAll(*st, completed ? 1 : 0, book_id, profile_id); code != 0)
      return code;
    const int result = st->step();
    bumpChangeCounter();
    // A write the database refused (locked past the busy timeout, read-only, full) is reported, so
    // that the tile does not show a reading state the library never took.
    if (result != SQLITE_DONE) {
      logGuard("result != SQLITE_DONE", "(\"MW_FAILED\")", "");
      return -1;
    }
  }
  return 0;
}

std::vector<std::string> DBManager::getBookLocalFiles(int64_t book_id) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> paths;
  std::shared_ptr<Statement> st = db_.prepare(DbQueries::bookLocalFiles(storageClause()));
  if (!st.get()) {
    logGuard("!st.get()", "(\"result\")", "");
    return paths;
  }
  if (BindAll(*st, book_id) != 0)
    return paths;
  while (st->step() == SQLITE_ROW) paths.push_back(st->columnText(0));
  return paths;
}

int DBManager::removeFile(const std::string& path) {
  return removeFiles({path});
}

int DBManager::runEdit(const std::string& sql) {
  std::shared_ptr<Statement> st = db_.prepare(sql);
  if (!st.get()) {
    logGuard("!st.get()", "(\"MW_FAILED\")", "");
    return -1;
  }
  const int code = st->step();
  bumpChangeCounter();
  return code == SQLITE_DONE ? 0 : -1;
}

int DBManager::removeFiles(const std::vector<std::string>& paths) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (paths.empty())
    return 0;
  std::shared_ptr<Statement> st = db_.prepare(DbQueries::removeFile(storageClause()));
  if (!st.get()) {
    logGuard("!st.get()", "(\"MW_FAILED\")", "");
    return -1;
  }
  if (db_.execute("BEGIN IMMEDIATE") != SQLITE_DONE)
    return -1;
  bool changed = false;
  for (const std::string& path : paths) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos || slash + 1 == path.size())
      continue;
    if (BindAll(*st, path.substr(slash + 1), path.substr(0, slash)) != 0 ||
        st->step() != SQLITE_DONE) {
      db_.execute("ROLLBACK");
      return -1;
    }
    changed = changed || db_.changes() > 0;
    st->reset();
    st->clear_bindings();
  }
  if (db_.execute("COMMIT") != SQLITE_DONE) {
    db_.execute("ROLLBACK");
    return -1;
  }
  // Other programs hear of the change once it is there to read.
  if (changed)
    announceChange();
  return 0;
}

int DBManager::removeFilesByTimestamp(int64_t ts) {
  std::lock_guard<std::mutex> lock(mutex_);
  return runEdit(DbQueries::removeFilesByTimestamp(storageClause(), ts));
}

int DBManager::removeFromAddedAndOpenedByTimestamp(int64_t ts) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::shared_ptr<Statement> st = db_.prepare(
      "UPDATE books_impl SET ts_added = 0, date_added=NULL WHERE ts_added = ? and EXISTS (SELECT "
      "file.id FROM files file WHERE file.book_id = books_impl.id AND ext <> \"acsm\" )");
  if (!st.get()) {
    logGuard("!st.get()", "(\"MW_FAILED\")", "");
    return -1;
  }
  if (BindAll(*st, ts) != 0)
    return -1;
  const int code = st->step();
  bumpChangeCounter();
  return code == SQLITE_DONE ? 0 : -1;
}

int DBManager::removeFromAddedAndOpened(int64_t book_id) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::shared_ptr<Statement> added =
      db_.prepare("UPDATE books_impl SET ts_added = 0, date_added=NULL WHERE id = ?");
  std::shared_ptr<Statement> opened =
      db_.prepare("UPDATE books_settings SET opentime = 0 WHERE bookid = ? AND profileid = ?");
  if (!added.get() || !opened.get()) {
    logGuard("!st.get()", "(\"MW_FAILED\")", "");
    return -1;
  }
  if (BindAll(*added, book_id) != 0)
    return -1;
  // Taking the book off the added list alone does not count as a library change.
  DB_LOG(MW_LOG_DETAIL, "Remove book from added result [%d]", added->step());
  if (BindAll(*opened, book_id, profile_id) != 0)
    return -1;
  const int code = opened->step();
  bumpChangeCounter();
  DB_LOG(MW_LOG_DETAIL, "Remove book from opened result [%d]", code);
  return code == SQLITE_DONE ? 0 : -1;
}

}  // namespace marrowleaf::desktop
