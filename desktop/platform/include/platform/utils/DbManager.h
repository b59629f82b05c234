#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace marrowleaf::utilities::db {

// Kinds of file properties kept in the library database's file_props table.
enum FileProp {
  kFilePropDrm = 3,         // "1" when the file is DRM-protected
  kFilePropLoanExpiry = 5,  // decimal seconds; empty or "0" when the book is not on loan
  kFilePropLoanId = 6,
  kFilePropPartnerId = 13,  // the partner store's id of a book bought there
  kFilePropStoreData = 18,  // JSON text with the store data of a sample
};

// The platform's view of the library's storages. Local storages (type 1) are present while their
// mount folder exists on the device; cloud storages (type 2) are always present. The lists are read
// afresh from the library database on every call, since cards and USB drives come and go.
class DbManager {
 public:
  static constexpr int kLocalStorage = 1;
  static constexpr int kCloudStorage = 2;

  static DbManager* Instance();

  // Ids of the present local storages and of the cloud storages; empty when the database can't be
  // read.
  std::vector<int64_t> GetCurrentStorageIds() const;
  std::vector<int64_t> GetCloudStorageIds() const;
  // The value of a file property of the file with that fast hash (raw bytes); "" when the file
  // has none or the database can't be read.
  std::string GetFileProp(const std::string& fast_hash, int prop_type) const;

 private:
  DbManager() = default;
  std::vector<int64_t> ReadStorages(bool local, bool cloud) const;
};

}  // namespace marrowleaf::utilities::db
