#pragma once

#include <string>

#include "data/StoreBlocks.h"
#include "platform/utils/CfgWrapper.h"

namespace marrowleaf::desktop {

// Turns the store service's "/mnt/ext1/system/config/desktop_data.cfg" into store blocks. Three
// layouts exist: format 2 (offers, possibly series), format 3 ("books" or "news" blocks) and the
// partner format (offers, titles by language). Blocks are named "promotion_0", "promotion_1", ...
// up to the first missing or empty name; a block whose keys are missing stays empty.
class StoreBlockLoader {
 public:
  static constexpr const char* kPath = "/mnt/ext1/system/config/desktop_data.cfg";
  static constexpr int kMaxOffers = 5;
  static constexpr int kSeriesBooks = 4;
  static constexpr const char* kWishlistBlock = "mw_internal_wishlist";

  enum class Format { kFormat2, kFormat3, kPartner };

  // partner_language is used by the partner format only.
  StoreBlockLoader(const utilities::CfgWrapper& cfg, std::string partner_language)
      : cfg_(cfg), language_(std::move(partner_language)) {}

  // The blocks of the file, in the given format (kFormat2/kFormat3 as the file's "config_version"
  // selects, unless the caller forces the partner format).
  StoreBlocks Load(bool partner) const;

  // Tenths of a star from a decimal text: -1 for empty text, else the value clamped to 0..5 stars
  // and rounded to the nearest half star ("4.26" gives 45).
  static int32_t Rating(const std::string& text);

 private:
  void LoadBlock(Format format, int n, StoreBlocks* blocks) const;
  Items Format3Block(int n, const std::string& name, std::string* url) const;
  Items Format2Block(const std::string& name) const;
  Items PartnerBlock(const std::string& name) const;
  Items NewsBlock(const std::string& name) const;
  Items BooksBlock(const std::string& name) const;
  // Reads offer j's identifier and link; false when both are empty (the end of the offers).
  bool ReadOffer(const std::string& offer, Book* book) const;
  void ReadCover(const std::string& offer, const std::string& suffix, Book* book) const;
  void ReadSale(const std::string& offer, Book* book) const;
  std::string Title(Format format, int n, const std::string& name) const;
  std::string Get(const std::string& key) const { return cfg_.read(key); }
  bool Flag(const std::string& key) const { return cfg_.readInt(key, 0) != 0; }

  const utilities::CfgWrapper& cfg_;
  std::string language_;
};

}  // namespace marrowleaf::desktop
