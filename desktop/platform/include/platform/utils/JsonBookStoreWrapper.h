#pragma once

#include <cstdint>
#include <string>

namespace marrowleaf::utilities {

// The store data that the store service attaches to a sample book (file property 18), a JSON
// object:
//   {"store_id": "12345", "price": "4.99 EUR", "price_old": "6.99 EUR", "price_ts": 1700000000}
// "store_id" (text or integer) is required; the prices are texts; "price_ts" is the time, in
// seconds (integer or decimal text), when the prices were fetched. Texts longer than 64 KiB or
// nested deeper than 16 levels are refused.
class JsonBookStoreWrapper {
 public:
  static constexpr size_t kMaxTextBytes = 64 * 1024;

  void clear();
  // False (and the fields cleared) when the text is not such an object.
  bool read(const std::string& json);

  const std::string& storeId() const { return store_id_; }
  const std::string& price() const { return price_; }
  const std::string& priceOld() const { return price_old_; }
  // Seconds since the epoch, 0 when missing.
  int64_t priceTimestamp() const { return price_timestamp_; }

 private:
  std::string store_id_;
  std::string price_;
  std::string price_old_;
  int64_t price_timestamp_ = 0;
};

}  // namespace marrowleaf::utilities
