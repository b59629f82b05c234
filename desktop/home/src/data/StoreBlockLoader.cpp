#include "data/StoreBlockLoader.h"

#include <charconv>
#include <cmath>

#include "platform/sdk/lang.h"
#include "platform/utils/Crc32Hash.h"

namespace marrowleaf::desktop {
namespace {

std::shared_ptr<Item> OneBookItem(int32_t type, std::shared_ptr<Book> book) {
  auto item = std::make_shared<Item>();
  item->type_ = type;
  item->books_count_ = 1;
  item->books_.push_back(std::move(book));
  return item;
}

// The leading decimal number of a text, read the same whatever the process's locale; 0 when the
// text does not start with one.
float LeadingNumber(const std::string& text) {
  const char* begin = text.c_str();
  const char* end = begin + text.size();
  while (begin < end && (*begin == ' ' || *begin == '\t')) ++begin;
  if (begin < end && *begin == '+')
    ++begin;
  float value = 0.0f;
  const auto result = std::from_chars(begin, end, value, std::chars_format::general);
  return result.ec == std::errc() ? value : 0.0f;
}

}  // namespace

int32_t StoreBlockLoader::Rating(const std::string& text) {
  if (text.empty())
    return -1;
  float stars = LeadingNumber(text) * 10.0f;
  if (std::isnan(stars))
    stars = 0.0f;
  stars = std::fmin(std::fmax(stars, 0.0f), 50.0f);
  return static_cast<int32_t>(std::lround(stars / 5.0f)) * 5;
}

StoreBlocks StoreBlockLoader::Load(bool partner) const {
  StoreBlocks blocks;
  const Format format = partner                                  ? Format::kPartner
                        : cfg_.readInt("config_version", 0) == 3 ? Format::kFormat3
                                                                 : Format::kFormat2;
  for (int n = 0;; ++n) {
    std::string name;
    if (!cfg_.readIfExists("promotion_" + std::to_string(n), &name) || name.empty())
      break;
    LoadBlock(format, n, &blocks);
  }
  return blocks;
}

void StoreBlockLoader::LoadBlock(Format format, int n, StoreBlocks* blocks) const {
  const std::string name = Get("promotion_" + std::to_string(n));
  const int32_t id = STORE_BLOCK_BASE + n;
  std::string url = Get(name + "_url");
  Items items;
  switch (format) {
    case Format::kFormat3:
      items = Format3Block(n, name, &url);
      break;
    case Format::kFormat2:
      items = Format2Block(name);
      break;
    case Format::kPartner:
      items = PartnerBlock(name);
      break;
  }
  blocks->block_ids_.push_back(id);
  blocks->block_names_.push_back(name);
  blocks->block_titles_.push_back(Title(format, n, name));
  blocks->block_urls_.push_back(url);
  blocks->store_blocks_[id] = std::move(items);
}

std::string StoreBlockLoader::Title(Format format, int n, const std::string& name) const {
  std::string key;
  if (format == Format::kPartner) {
    key = Get(name + "_translation_" + language_);
    if (key.empty())
      key = Get(name + "_translation_en");
  } else {
    key = Get("promotion_translation_" + std::to_string(n));
  }
  return key.empty() ? name : GetLangText(key.c_str());
}

Items StoreBlockLoader::Format3Block(int n, const std::string& name, std::string* url) const {
  const std::string type = Get("promotion_type_" + std::to_string(n));
  if (type == "books")
    return BooksBlock(name);
  // A news block's link belongs to its tile; the header has none.
  url->clear();
  return type == "news" ? NewsBlock(name) : Items();
}

Items StoreBlockLoader::NewsBlock(const std::string& name) const {
  auto book = std::make_shared<Book>();
  book->store_type = Get(name + "_type");
  if (book->store_type.empty())
    return Items();
  book->title = Get(name + "_title");
  book->author = Get(name + "_subtitle");
  book->store_cover = Get(name + "_cover");
  book->store_desc = Get(name + "_desc");
  book->store_button = Get(name + "_button");
  book->store_url = Get(name + "_url");
  return Items{OneBookItem(ITEM_STORE_NEWS, std::move(book))};
}

bool StoreBlockLoader::ReadOffer(const std::string& offer, Book* book) const {
  book->store_id = Get(offer + "_id");
  book->store_url = Get(offer + "_url");
  if (book->store_id.empty() && book->store_url.empty())
    return false;
  // The store service names offers by the hash of their links.
  if (!book->store_url.empty())
    book->store_id = std::to_string(utilities::crc32hash(book->store_url));
  book->rating = Rating(Get(offer + "_rating"));
  return true;
}

// What a tile shows of an offer (or of one member of a series, with its suffix).
void StoreBlockLoader::ReadCover(const std::string& offer, const std::string& suffix,
                                 Book* book) const {
  book->title = Get(offer + "_title" + suffix);
  book->author = Get(offer + "_author" + suffix);
  book->store_cover = Get(offer + "_cover" + suffix);
}

void StoreBlockLoader::ReadSale(const std::string& offer, Book* book) const {
  book->store_price = Get(offer + "_price");
  book->store_price_old = Get(offer + "_price_old");
  book->store_desc = Get(offer + "_desc");
  book->is_audio = Flag(offer + "_is_audio");
}

Items StoreBlockLoader::BooksBlock(const std::string& name) const {
  Items items;
  for (int j = 0; j < kMaxOffers; ++j) {
    const std::string offer = name + "_" + std::to_string(j);
    auto book = std::make_shared<Book>();
    if (!ReadOffer(offer, book.get()))
      break;
    ReadCover(offer, "", book.get());
    ReadSale(offer, book.get());
    items.push_back(OneBookItem(ITEM_STORE_BOOK, std::move(book)));
  }
  if (items.size() == 1)
    items[0]->type_ = ITEM_STORE_DETAILED;
  return items;
}

Items StoreBlockLoader::Format2Block(const std::string& name) const {
  Items items;
  for (int j = 0; j < kMaxOffers; ++j) {
    const std::string offer = name + "_" + std::to_string(j);
    Book book;
    if (!ReadOffer(offer, &book))
      break;
    ReadSale(offer, &book);
    book.is_wishlist = name == kWishlistBlock;
    auto item = std::make_shared<Item>();
    item->type_ = Get(offer + "_type") == "book" ? ITEM_STORE_DETAILED : ITEM_STORE_BOOK;
    item->books_count_ = 1;
    item->is_seria_ = Flag(offer + "_is_seria");
    for (int k = 0; k < (item->is_seria_ ? kSeriesBooks : 1); ++k) {
      const std::string suffix = item->is_seria_ ? "_" + std::to_string(k) : "";
      auto member = std::make_shared<Book>(book);
      ReadCover(offer, suffix, member.get());
      item->books_.push_back(std::move(member));
    }
    items.push_back(std::move(item));
  }
  return items;
}

Items StoreBlockLoader::PartnerBlock(const std::string& name) const {
  Items items;
  for (int j = 0; j < kMaxOffers; ++j) {
    const std::string offer = name + "_" + std::to_string(j);
    auto book = std::make_shared<Book>();
    if (!ReadOffer(offer, book.get()))
      break;
    ReadCover(offer, "", book.get());
    items.push_back(OneBookItem(ITEM_STORE_BOOK, std::move(book)));
  }
  return items;
}

}  // namespace marrowleaf::desktop
