#include "SampleLibrary.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unordered_map>
#include <vector>

#include "PlainBookFiles.h"

namespace marrowleaf::tools {
namespace {

const char kDatabase[] = "/mnt/ext1/system/explorer-3/explorer-3.db";
const char kStoreConfig[] = "/mnt/ext1/system/config/desktop_data.cfg";
const char kSchema[] = "/desktop/res/db/explorer-3.sql";
constexpr int kSampleBooks = 60;
constexpr int kGeneratedPerFolder = 500;
constexpr int64_t kDay = 86400;

// Storage ids of the library; the USB drive's folder is not made, so it shows as absent.
enum Storage { kInternal = 1, kCard = 2, kUsb = 3, kCloud = 4 };

struct BookRow {
  std::string title;
  std::string author;
  std::string folder;  // device path
  std::string filename;
  Storage storage = kInternal;
  int64_t ts_added = 0;
  int hidden = 0;
  // Reading state of the default profile; opentime 0 means never opened.
  int64_t opentime = 0;
  int cpage = 0;
  int npage = 0;
  int favorite = 0;
  int completed = 0;
};

// The open database and its prepared inserts. Statements are finalised before the connection.
struct Writer {
  std::string host_root;
  sqlite3* db = nullptr;
  sqlite3_stmt* folder = nullptr;
  sqlite3_stmt* book = nullptr;
  sqlite3_stmt* file = nullptr;
  sqlite3_stmt* settings = nullptr;
  sqlite3_stmt* prop = nullptr;
  std::unordered_map<std::string, int64_t> folders;
  int64_t next_book = 1;
  int64_t now = 0;
  std::string error;
};

std::string Extension(const std::string& filename) {
  const size_t dot = filename.rfind('.');
  return dot == std::string::npos ? std::string() : filename.substr(dot + 1);
}

// Eight bytes derived from the book id, with zero bytes among them as real hashes have.
std::string FastHash(int64_t id) {
  std::string bytes(8, '\0');
  uint64_t value = static_cast<uint64_t>(id) * 0x9E3779B97F4A7C15ull;
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((value >> (i * 8)) & 0xff);
  bytes[3] = '\0';
  return bytes;
}

bool Fail(Writer& w, const std::string& what) {
  w.error = what + ": " + (w.db ? sqlite3_errmsg(w.db) : "no database");
  return false;
}

bool ReadText(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return false;
  std::stringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return true;
}

bool WriteHostFile(const std::string& host_path, const std::string& content) {
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(host_path).parent_path(), ignored);
  const std::string temporary = host_path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!(out << content))
      return false;
  }
  return std::rename(temporary.c_str(), host_path.c_str()) == 0;
}

std::string Acsm(const BookRow& row) {
  return "<?xml version=\"1.0\"?>\n<fulfillmentToken fulfillmentType=\"buy\">\n"
         "<resourceItemInfo><metadata><dc:title xmlns:dc=\"http://purl.org/dc/elements/1.1/\">" +
         PlainBookFiles::Escape(row.title) +
         "</dc:title></metadata></resourceItemInfo>\n</fulfillmentToken>\n";
}

std::string BookFile(const BookRow& row) {
  const std::string ext = Extension(row.filename);
  if (ext == "pdf")
    return PlainBookFiles::Pdf(row.title);
  if (ext == "acsm")
    return Acsm(row);
  if (ext == "txt")
    return row.title + "\n\nThis sample book has one short page.\n";
  return PlainBookFiles::Fb2(row.title, row.author);
}

int64_t FolderId(Writer& w, const std::string& folder) {
  auto found = w.folders.find(folder);
  if (found != w.folders.end())
    return found->second;
  const int64_t id = static_cast<int64_t>(w.folders.size()) + 1;
  w.folders.emplace(folder, id);
  sqlite3_reset(w.folder);
  sqlite3_bind_int64(w.folder, 1, id);
  sqlite3_bind_text(w.folder, 2, folder.c_str(), -1, SQLITE_TRANSIENT);
  return sqlite3_step(w.folder) == SQLITE_DONE ? id : -1;
}

bool AddProp(Writer& w, const std::string& hash, int type, const std::string& value) {
  sqlite3_reset(w.prop);
  sqlite3_bind_blob(w.prop, 1, hash.data(), static_cast<int>(hash.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int(w.prop, 2, type);
  sqlite3_bind_text(w.prop, 3, value.c_str(), -1, SQLITE_TRANSIENT);
  return sqlite3_step(w.prop) == SQLITE_DONE || Fail(w, "file property");
}

bool InsertSettings(Writer& w, int64_t id, const BookRow& row) {
  if (row.opentime == 0 && row.favorite == 0 && row.completed == 0)
    return true;
  sqlite3_reset(w.settings);
  sqlite3_bind_int64(w.settings, 1, id);
  sqlite3_bind_int64(w.settings, 2, row.opentime);
  sqlite3_bind_int(w.settings, 3, row.cpage);
  sqlite3_bind_int(w.settings, 4, row.npage);
  sqlite3_bind_int(w.settings, 5, row.favorite);
  sqlite3_bind_int(w.settings, 6, row.completed);
  return sqlite3_step(w.settings) == SQLITE_DONE || Fail(w, "reading state");
}

// Adds a book with its one file; returns its id (0 on failure). Local files are written too.
int64_t AddBook(Writer& w, const BookRow& row) {
  const int64_t id = w.next_book++;
  sqlite3_reset(w.book);
  sqlite3_bind_int64(w.book, 1, id);
  sqlite3_bind_text(w.book, 2, row.title.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(w.book, 3, row.author.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_int64(w.book, 4, row.ts_added);
  sqlite3_bind_int(w.book, 5, row.hidden);
  sqlite3_bind_text(w.book, 6, row.title.c_str(), -1, SQLITE_TRANSIENT);
  const std::string resource = "res-" + std::to_string(id);
  sqlite3_bind_blob(w.book, 7, resource.data(), static_cast<int>(resource.size()),
                    SQLITE_TRANSIENT);
  if (sqlite3_step(w.book) != SQLITE_DONE) {
    Fail(w, "book");
    return 0;
  }
  const int64_t folder = FolderId(w, row.folder);
  if (folder < 0) {
    Fail(w, "folder");
    return 0;
  }
  const std::string hash = FastHash(id);
  sqlite3_reset(w.file);
  sqlite3_bind_int64(w.file, 1, id);
  sqlite3_bind_int64(w.file, 2, folder);
  sqlite3_bind_int(w.file, 3, row.storage);
  sqlite3_bind_text(w.file, 4, row.filename.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(w.file, 5, Extension(row.filename).c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_blob(w.file, 6, hash.data(), static_cast<int>(hash.size()), SQLITE_TRANSIENT);
  if (sqlite3_step(w.file) != SQLITE_DONE) {
    Fail(w, "file");
    return 0;
  }
  if (!InsertSettings(w, id, row))
    return 0;
  if (row.storage != kCloud &&
      !WriteHostFile(w.host_root + row.folder + "/" + row.filename, BookFile(row))) {
    w.error = "can't write the book file " + row.folder + "/" + row.filename;
    return 0;
  }
  return id;
}

BookRow Row(const std::string& title, const std::string& author, const std::string& folder,
            const std::string& filename, int64_t ts_added) {
  BookRow row;
  row.title = title;
  row.author = author;
  row.folder = folder;
  row.filename = filename;
  row.ts_added = ts_added;
  return row;
}

bool AddOpenedBooks(Writer& w) {
  const char* titles[][2] = {
      {"Pride and Prejudice", "Jane Austen"},    {"Moby Dick", "Herman Melville"},
      {"War and Peace", "Leo Tolstoy"},          {"The Odyssey", "Homer"},
      {"Great Expectations", "Charles Dickens"}, {"Anna Karenina", "Leo Tolstoy"},
      {"Walden", "Henry David Thoreau"}};
  for (int i = 0; i < 7; ++i) {
    BookRow row = Row(titles[i][0], titles[i][1], "/mnt/ext1/Books/Classics",
                      std::string(titles[i][0]) + (i == 3 ? ".pdf" : ".fb2"), w.now - 60 * kDay);
    row.opentime = w.now - (i + 1) * 3 * 3600;
    row.npage = 200 + 40 * i;
    row.cpage = i == 6 ? row.npage : 10 + 25 * i;
    row.favorite = i == 1 || i == 4;
    row.completed = i == 6;
    if (AddBook(w, row) == 0)
      return false;
  }
  return true;
}

bool AddSingleBooks(Writer& w) {
  const char* titles[][2] = {{"Dubliners", "James Joyce"}, {"Middlemarch", "George Eliot"},
                             {"Dracula", "Bram Stoker"},   {"Emma", "Jane Austen"},
                             {"Ulysses", "James Joyce"},   {"Persuasion", "Jane Austen"}};
  for (int i = 0; i < 6; ++i) {
    BookRow row = Row(titles[i][0], titles[i][1], "/mnt/ext1/Books/New",
                      std::string(titles[i][0]) + (i == 5 ? ".txt" : ".fb2"),
                      w.now - (i + 1) * 5 * 3600 - 1800);
    if (AddBook(w, row) == 0)
      return false;
  }
  return true;
}

bool AddGroup(Writer& w, const std::string& name, int count, int64_t ts) {
  for (int i = 1; i <= count; ++i) {
    const std::string title = name + " " + std::to_string(i);
    BookRow row = Row(title, "Various Authors", "/mnt/ext1/Download/" + name, title + ".fb2", ts);
    if (AddBook(w, row) == 0)
      return false;
  }
  return true;
}

bool AddSpecialBooks(Writer& w) {
  // Only in the cloud: no local file.
  BookRow cloud = Row("The Cloud Atlas of Clouds", "A. Nimbus", "/cloud/Books",
                      "The Cloud Atlas of Clouds.epub", w.now - 4 * 3600);
  cloud.storage = kCloud;
  if (AddBook(w, cloud) == 0)
    return false;

  BookRow sample = Row("Sample: The Quiet Harbour", "Mara Lind", "/mnt/ext1/Books/Samples",
                       "The Quiet Harbour (sample).fb2", w.now - 7 * 3600);
  const int64_t sample_id = AddBook(w, sample);
  // The sample came from a partner's store: it carries the partner's product id (property 13).
  if (sample_id == 0 || !AddProp(w, FastHash(sample_id), 13, "EG-8800123") ||
      !AddProp(w, FastHash(sample_id), 18,
               "{\"store_id\": \"8800123\", \"price\": \"4.99 EUR\", \"price_old\": \"7.99 EUR\", "
               "\"price_ts\": " +
                   std::to_string(w.now) + "}")) {
    return false;
  }

  BookRow loan = Row("Borrowed Light", "Ilse Brandt", "/mnt/ext1/Books/Loans", "Borrowed Light.fb2",
                     w.now - 9 * 3600);
  loan.opentime = w.now - 8 * 3600;
  loan.cpage = 12;
  loan.npage = 310;
  const int64_t loan_id = AddBook(w, loan);
  if (loan_id == 0 || !AddProp(w, FastHash(loan_id), 3, "1") ||
      !AddProp(w, FastHash(loan_id), 5, std::to_string(w.now + 14 * kDay)) ||
      !AddProp(w, FastHash(loan_id), 6, "loan-000042")) {
    return false;
  }

  BookRow acsm = Row("Pending Download", "Store Publisher", "/mnt/ext1/Digital Editions",
                     "Pending Download.acsm", w.now - 1800);
  BookRow drm = Row("Locked Garden", "Petra Vale", "/mnt/ext1/Books/New", "Locked Garden.fb2",
                    w.now - 40 * 3600);
  const int64_t drm_id = AddBook(w, drm);
  BookRow hidden =
      Row("Hidden Notes", "Nobody", "/mnt/ext1/Books/Hidden", "Hidden Notes.txt", w.now - 600);
  hidden.hidden = 1;
  return AddBook(w, acsm) != 0 && drm_id != 0 && AddProp(w, FastHash(drm_id), 3, "1") &&
         AddBook(w, hidden) != 0;
}

bool AddCardBooks(Writer& w) {
  const char* titles[] = {"Card Stories", "Card Poems", "Card Essays", "Card Letters",
                          "Card Atlas"};
  for (int i = 0; i < 5; ++i) {
    BookRow row = Row(titles[i], "Card Author", "/mnt/ext2/Books", std::string(titles[i]) + ".fb2",
                      w.now - (10 + i) * kDay);
    if (i == 0) {
      row.opentime = w.now - 30 * 3600;
      row.cpage = 44;
      row.npage = 120;
    }
    if (AddBook(w, row) == 0)
      return false;
  }
  return true;
}

// Generated books for large libraries: added long before the sample books in moments of one to five
// books, about one in fifty opened during the last month.
bool AddGeneratedBooks(Writer& w, int count) {
  int64_t moment = w.now - 400 * kDay;
  for (int i = 0; i < count; ++i) {
    if (i % 5 == 0 || (i * 7) % 3 == 0)
      moment += 300;
    const std::string folder = "/mnt/ext1/Library/" + std::to_string(i / kGeneratedPerFolder + 1);
    const std::string title = "Generated Book " + std::to_string(i + 1);
    BookRow row = Row(title, "Author " + std::to_string(i % 997), folder, title + ".fb2",
                      std::min<int64_t>(moment, w.now - 31 * kDay));
    if (i % 50 == 7) {
      row.opentime = w.now - 2 * kDay - (i % 2500) * 1000;
      row.npage = 300;
      row.cpage = i % 300;
    }
    if (AddBook(w, row) == 0)
      return false;
  }
  return true;
}

bool AddNotifications(Writer& w) {
  const char* sql =
      "INSERT INTO timestamps (id, ts) VALUES (1, 0), (2, 0), (3, 0);"
      "INSERT INTO tags2 (timestampid, profileid, is_viewed, text) VALUES "
      "(1, 1, 0, 'New book in the store'), (2, 1, NULL, 'Your loan ends soon'), "
      "(3, 1, 1, 'Welcome');";
  return sqlite3_exec(w.db, sql, nullptr, nullptr, nullptr) == SQLITE_OK ||
         Fail(w, "notifications");
}

bool Prepare(Writer& w) {
  const struct {
    sqlite3_stmt** statement;
    const char* sql;
  } statements[] = {
      {&w.folder, "INSERT INTO folders (id, name) VALUES (?, ?)"},
      {&w.book,
       "INSERT INTO books_impl (id, title, author, firstauthor, ts_added, date_added, hidden, "
       "sort_title, resource_id) VALUES (?1, ?2, ?3, ?3, ?4, datetime(?4, 'unixepoch'), ?5, ?6, "
       "?7)"},
      {&w.file,
       "INSERT INTO files (book_id, folder_id, storageid, filename, ext, size, fast_hash) VALUES "
       "(?, ?, ?, ?, ?, 1024, ?)"},
      {&w.settings,
       "INSERT INTO books_settings (bookid, profileid, opentime, cpage, npage, favorite, "
       "completed) VALUES (?, 1, ?, ?, ?, ?, ?)"},
      {&w.prop, "INSERT INTO file_props (fast_hash, prop_type, value) VALUES (?, ?, ?)"},
  };
  for (const auto& entry : statements) {
    if (sqlite3_prepare_v2(w.db, entry.sql, -1, entry.statement, nullptr) != SQLITE_OK)
      return Fail(w, "prepare");
  }
  return true;
}

void Finish(Writer& w) {
  for (sqlite3_stmt* statement : {w.folder, w.book, w.file, w.settings, w.prop})
    sqlite3_finalize(statement);
  sqlite3_close(w.db);
  w.db = nullptr;
}

bool FillDatabase(Writer& w, const std::string& schema, int books) {
  const char* base =
      "INSERT INTO storages (id, type, name, path) VALUES (1, 1, 'Internal', '/mnt/ext1'), "
      "(2, 1, 'SD card', '/mnt/ext2'), (3, 1, 'USB', '/mnt/ext3'), (4, 2, 'Cloud', '');"
      "INSERT INTO profiles (id, name) VALUES (1, 'default');";
  if (sqlite3_exec(w.db, "PRAGMA synchronous=OFF; PRAGMA journal_mode=MEMORY;", nullptr, nullptr,
                   nullptr) != SQLITE_OK ||
      sqlite3_exec(w.db, schema.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_exec(w.db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK ||
      sqlite3_exec(w.db, base, nullptr, nullptr, nullptr) != SQLITE_OK || !Prepare(w)) {
    return w.error.empty() ? Fail(w, "schema") : false;
  }
  const bool filled =
      AddOpenedBooks(w) && AddSingleBooks(w) && AddGroup(w, "Two Tales", 2, w.now - 3 * 3600) &&
      AddGroup(w, "Four Seasons", 4, w.now - 26 * 3600) &&
      AddGroup(w, "Thirty Stories", 30, w.now - 50 * 3600) && AddSpecialBooks(w) &&
      AddCardBooks(w) && AddNotifications(w) && AddGeneratedBooks(w, books - kSampleBooks);
  if (!filled)
    return false;
  // The indexer keeps statistics so that the planner picks the indexes.
  return sqlite3_exec(w.db, "COMMIT; ANALYZE;", nullptr, nullptr, nullptr) == SQLITE_OK ||
         Fail(w, "commit");
}

std::string StoreConfig() {
  return "config_version=3\n"
         "promotion_0=weekly_picks\n"
         "promotion_translation_0=Weekly picks\n"
         "promotion_type_0=books\n"
         "weekly_picks_url=https://store.example/collections/weekly\n"
         "weekly_picks_0_cover=/mnt/ext1/system/store/covers/weekly_picks_0.jpg\n"
         "weekly_picks_0_url=https://store.example/book/harbour\n"
         "weekly_picks_0_title=The Quiet Harbour\nweekly_picks_0_author=Mara Lind\n"
         "weekly_picks_0_price=4.99 EUR\nweekly_picks_0_price_old=7.99 EUR\n"
         "weekly_picks_0_rating=4.5\n"
         "weekly_picks_1_cover=/mnt/ext1/system/store/covers/weekly_picks_1.jpg\n"
         "weekly_picks_1_url=https://store.example/book/orchard\n"
         "weekly_picks_1_title=Winter Orchard\nweekly_picks_1_author=Tomas Reed\n"
         "weekly_picks_1_price=3.49 EUR\nweekly_picks_1_rating=4\n"
         "weekly_picks_2_cover=/mnt/ext1/system/store/covers/weekly_picks_2.jpg\n"
         "weekly_picks_2_url=https://store.example/book/voices\n"
         "weekly_picks_2_title=Voices of the Delta\nweekly_picks_2_author=Ana Sol\n"
         "weekly_picks_2_price=9.99 EUR\nweekly_picks_2_rating=3.7\nweekly_picks_2_is_audio=1\n"
         "weekly_picks_3_cover=/mnt/ext1/system/store/covers/weekly_picks_3.jpg\n"
         "weekly_picks_3_url=https://store.example/book/lantern\n"
         "weekly_picks_3_title=The Lantern Keeper\nweekly_picks_3_author=Jon Wilde\n"
         "weekly_picks_3_price=5.99 EUR\nweekly_picks_3_rating=5\n"
         "promotion_1=book_of_the_day\n"
         "promotion_translation_1=Book of the day\n"
         "promotion_type_1=books\n"
         "book_of_the_day_url=https://store.example/collections/daily\n"
         "book_of_the_day_0_cover=/mnt/ext1/system/store/covers/book_of_the_day_0.jpg\n"
         "book_of_the_day_0_url=https://store.example/book/northern-lights\n"
         "book_of_the_day_0_title=Northern Lights Over Ice\n"
         "book_of_the_day_0_author=Kari Fjell\n"
         "book_of_the_day_0_price=2.99 EUR\nbook_of_the_day_0_price_old=8.99 EUR\n"
         "book_of_the_day_0_rating=4.26\n"
         "book_of_the_day_0_desc=\"A winter journey across the fjords, told in letters.\"\n"
         "promotion_2=store_news\n"
         "promotion_translation_2=News\n"
         "promotion_type_2=news\n"
         "store_news_type=news\n"
         "store_news_title=Summer reading festival\n"
         "store_news_subtitle=Two weeks of discounts\n"
         "store_news_desc=\"Half price on a thousand titles until the end of the month.\"\n"
         "store_news_button=@Open\n"
         "store_news_url=https://store.example/news/summer\n"
         "store_news_cover=/mnt/ext1/system/store/covers/store_news.jpg\n";
}

}  // namespace

bool WriteSampleLibrary(const std::string& host_root, int books, std::string* error) {
  std::string schema;
  if (!ReadText(std::string(MARROWLEAF_SOURCE_DIR) + kSchema, &schema)) {
    *error = std::string("can't read the schema ") + MARROWLEAF_SOURCE_DIR + kSchema;
    return false;
  }
  Writer w;
  w.host_root = host_root;
  w.now = static_cast<int64_t>(std::time(nullptr));
  const std::string target = host_root + kDatabase;
  const std::string temporary = target + ".new";
  std::error_code ignored;
  std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ignored);
  std::filesystem::create_directories(host_root + "/mnt/ext2", ignored);
  std::filesystem::remove(temporary, ignored);
  if (sqlite3_open_v2(temporary.c_str(), &w.db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                      nullptr) != SQLITE_OK) {
    Fail(w, "can't create " + temporary);
  } else {
    FillDatabase(w, schema, std::max(books, kSampleBooks));
  }
  Finish(w);
  if (w.error.empty() && std::rename(temporary.c_str(), target.c_str()) != 0)
    w.error = "can't replace " + target;
  if (w.error.empty() && !WriteHostFile(host_root + kStoreConfig, StoreConfig()))
    w.error = std::string("can't write ") + kStoreConfig;
  if (!w.error.empty()) {
    std::filesystem::remove(temporary, ignored);
    *error = w.error;
    return false;
  }
  return true;
}

}  // namespace marrowleaf::tools
