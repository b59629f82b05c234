#include "data/HomeCache.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/sdk/config.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/utils/SerializationUtils.h"

namespace marrowleaf::desktop {
namespace {

using utilities::SerializationUtils;

// Keys are short; the buffer matches the one every reader of this file uses.
constexpr size_t kKeyBytes = 128;

// Builds "item.<i>.<name>" or "item.<i>.book.<k>.<name>" (k = 0 for the item's own keys).
class Key {
 public:
  Key(int item, int book) : item_(item), book_(book) {}
  const char* operator()(const char* name) {
    if (book_ == 0) {
      std::snprintf(buffer_, sizeof buffer_, "item.%d.%s", item_, name);
    } else {
      std::snprintf(buffer_, sizeof buffer_, "item.%d.book.%d.%s", item_, book_, name);
    }
    return buffer_;
  }

 private:
  int item_;
  int book_;
  char buffer_[kKeyBytes];
};

// Texts the file holds as they are: no control characters but tab and line feed (which the file
// quotes), and short enough for a line. Anything else (a carriage return, a NUL, a title of
// 100 KiB) is held as hexadecimal pieces under "<name>.hex.<n>" with their count in
// "<name>.pieces", which a reader that does not know them skips: it sees an empty text, as it did
// when such texts were not written at all.
constexpr size_t kPlainMaxBytes = 16 * 1024;
constexpr size_t kPieceBytes = 16 * 1024;
// The file is read no further than 1 MiB, so no text can have more pieces than fit in it.
constexpr int kMaxPieces = 64;

bool IsPlainText(const std::string& text) {
  if (text.size() > kPlainMaxBytes)
    return false;
  for (char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if ((byte < 0x20 && c != '\t' && c != '\n') || byte == 0x7F)
      return false;
  }
  return true;
}

void WriteText(DeviceConfig* cfg, Key& key, const std::string& name, const std::string& text) {
  if (IsPlainText(text)) {
    WriteString(cfg, key(name.c_str()), text.c_str());
    return;
  }
  int pieces = 0;
  for (size_t at = 0; at < text.size(); at += kPieceBytes) {
    const std::string piece = name + ".hex." + std::to_string(++pieces);
    const std::string hex = SerializationUtils::ToHex(text.substr(at, kPieceBytes));
    WriteString(cfg, key(piece.c_str()), hex.c_str());
  }
  WriteInt(cfg, key((name + ".pieces").c_str()), pieces);
}

std::string ReadText(DeviceConfig* cfg, Key& key, const std::string& name) {
  const int pieces = ReadInt(cfg, key((name + ".pieces").c_str()), 0);
  if (pieces < 1 || pieces > kMaxPieces)
    return ReadString(cfg, key(name.c_str()), "");
  std::string text;
  for (int n = 1; n <= pieces; ++n) {
    const std::string piece = name + ".hex." + std::to_string(n);
    std::string bytes;
    // A damaged piece would give a text that was never written: none is better.
    if (!SerializationUtils::FromHex(ReadString(cfg, key(piece.c_str()), ""), &bytes))
      return "";
    text += bytes;
  }
  return text;
}

size_t BooksWritten(const Item& item) {
  if (item.type_ == ITEM_ADDED || item.type_ == ITEM_OPENED)
    return item.books_.empty() ? 0 : 1;
  if (item.type_ == ITEM_ADDED_GROUP)
    return std::min<size_t>(item.books_.size(), 3);
  return 0;
}

void WriteBook(DeviceConfig* cfg, Key key, const Book& book) {
  WriteLongLong(cfg, key("id"), book.id);
  WriteText(cfg, key, "path", book.path);
  WriteText(cfg, key, "title", book.title);
  WriteText(cfg, key, "author", book.author);
  if (book.settings) {
    WriteInt(cfg, key("cpage"), book.settings->cpage);
    WriteInt(cfg, key("npage"), book.settings->npage);
    WriteInt(cfg, key("completed"), book.settings->completed);
    WriteInt(cfg, key("favorite"), book.settings->favorite);
  }
  WriteInt(cfg, key("drm"), book.drm);
  WriteInt(cfg, key("cloud"), book.cloud ? 1 : 0);
  WriteText(cfg, key, "cloud_ext", book.cloud_ext);
  WriteInt(cfg, key("local"), book.local ? 1 : 0);
  WriteString(cfg, key("fast_hash"), SerializationUtils::ToHex(book.fast_hash).c_str());
  WriteString(cfg, key("resource_id"), SerializationUtils::ToHex(book.resource_id).c_str());
  WriteLongLong(cfg, key("loan_exp"), book.loan_exp);
  WriteText(cfg, key, "loan_id", book.loan_id);
  WriteInt(cfg, key("is_sample"), book.is_sample ? 1 : 0);
  if (book.is_sample) {
    WriteText(cfg, key, "store_id", book.store_id);
    WriteText(cfg, key, "store_price", book.store_price);
    WriteText(cfg, key, "store_price_old", book.store_price_old);
  }
}

void WriteItem(DeviceConfig* cfg, int number, const Item& item) {
  Key key(number, 0);
  WriteInt(cfg, key("type"), item.type_);
  WriteInt(cfg, key("books_count"), item.books_count_);
  WriteLongLong(cfg, key("timestamp"), item.timestamp_);
  const size_t books = BooksWritten(item);
  for (size_t k = 0; k < books; ++k) {
    if (item.books_[k])
      WriteBook(cfg, Key(number, static_cast<int>(k) + 1), *item.books_[k]);
  }
}

std::shared_ptr<Book> ReadBook(DeviceConfig* cfg, Key key) {
  const long long id = ReadLongLong(cfg, key("id"), 0);
  if (id <= 0)
    return nullptr;
  auto book = std::make_shared<Book>();
  book->id = id;
  book->path = ReadText(cfg, key, "path");
  book->title = ReadText(cfg, key, "title");
  book->author = ReadText(cfg, key, "author");
  auto settings = std::make_shared<BookSettings>();
  settings->cpage = ReadInt(cfg, key("cpage"), 0);
  settings->npage = ReadInt(cfg, key("npage"), 0);
  settings->completed = ReadInt(cfg, key("completed"), 0);
  settings->favorite = ReadInt(cfg, key("favorite"), 0);
  book->settings = std::move(settings);
  book->drm = ReadInt(cfg, key("drm"), 0);
  book->cloud = ReadInt(cfg, key("cloud"), 0) != 0;
  book->cloud_ext = ReadText(cfg, key, "cloud_ext");
  book->local = ReadInt(cfg, key("local"), 1) != 0;
  book->fast_hash = SerializationUtils::FromHex(ReadString(cfg, key("fast_hash"), ""));
  book->resource_id = SerializationUtils::FromHex(ReadString(cfg, key("resource_id"), ""));
  book->loan_exp = ReadLongLong(cfg, key("loan_exp"), 0);
  book->loan_id = ReadText(cfg, key, "loan_id");
  book->is_sample = ReadInt(cfg, key("is_sample"), 0) != 0;
  if (book->is_sample) {
    book->store_id = ReadText(cfg, key, "store_id");
    book->store_price = ReadText(cfg, key, "store_price");
    book->store_price_old = ReadText(cfg, key, "store_price_old");
  }
  return book;
}

std::shared_ptr<Item> ReadItem(DeviceConfig* cfg, int number) {
  Key key(number, 0);
  auto item = std::make_shared<Item>();
  item->type_ = ReadInt(cfg, key("type"), 0);
  if (item->type_ == 0)
    return nullptr;
  item->books_count_ = ReadInt(cfg, key("books_count"), 0);
  item->timestamp_ = ReadLongLong(cfg, key("timestamp"), 0);
  const int books = item->type_ == ITEM_ADDED_GROUP                           ? 3
                    : item->type_ == ITEM_ADDED || item->type_ == ITEM_OPENED ? 1
                                                                              : 0;
  for (int k = 1; k <= books; ++k) {
    std::shared_ptr<Book> book = ReadBook(cfg, Key(number, k));
    if (!book)
      break;
    item->books_.push_back(std::move(book));
  }
  return item;
}

// rename() makes the new file visible; syncing the folder makes the rename survive a power cut.
void SyncFolder(const std::string& host_file) {
  const std::string folder = host_file.substr(0, host_file.rfind('/'));
  const int fd = open(folder.empty() ? "/" : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0)
    return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool HomeCache::Save(const Items& items) {
  MW_LOG(MW_LOG_VERBOSE, "SaveCache");
  pk_buildpath(kPath);
  // The items are written into a fresh file beside the cache, which then replaces it whole.
  const std::string fresh = std::string(kPath) + ".new";
  pk_unlink(fresh.c_str());
  DeviceConfig* cfg = OpenConfig(fresh.c_str(), nullptr);
  if (cfg == nullptr)
    return false;
  WriteInt(cfg, "version", kVersion);
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i])
      WriteItem(cfg, static_cast<int>(i) + 1, *items[i]);
  }
  const bool written = SaveConfig(cfg) == 0;
  CloseConfigNoSave(cfg);
  const std::string target = HostPathForChange(kPath);
  if (!written || target.empty() ||
      std::rename(HostPathForChange(fresh).c_str(), target.c_str()) != 0) {
    pk_unlink(fresh.c_str());
    return false;
  }
  SyncFolder(target);
  MW_LOG(MW_LOG_VERBOSE, "Config saved");
  return true;
}

Items HomeCache::Load() {
  MW_LOG(MW_LOG_VERBOSE, "LoadCache");
  Items items;
  pk_buildpath(kPath);
  DeviceConfig* cfg = OpenConfig(kPath, nullptr);
  if (cfg == nullptr)
    return items;
  if (ReadInt(cfg, "version", 1) != kVersion) {
    CloseConfigNoSave(cfg);
    return items;
  }
  for (int i = 1; i <= kMaxItems; ++i) {
    std::shared_ptr<Item> item = ReadItem(cfg, i);
    if (!item)
      break;
    items.push_back(std::move(item));
  }
  CloseConfigNoSave(cfg);
  MW_LOG(MW_LOG_VERBOSE, "Config loaded");
  return items;
}

}  // namespace marrowleaf::desktop
