#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace marrowleaf::desktop {

// The texts of the library statements that carry inserted values (storages, limits, time stamps,
// the profile, the collation). They are kept apart from DBManager so that the exact texts, which
// the indexer's indexes were chosen for, can be checked on their own.
class DbQueries {
 public:
  // "(col = 1 OR col = 2)"; "(0)", which matches nothing, without storages.
  static std::string toStringNoSubquery(const std::string& column, const std::vector<int64_t>& ids);

  static std::string openedBooks(const std::string& storages, int profile_id, size_t max);
  static std::string addedBooks(const std::string& storages, int64_t since, size_t max);
  static std::string acsmBooks(const std::string& storages, int64_t since, size_t max);
  // Our own form of acsmBooks that reads only the books with an acsm file: the same rows, with no
  // limit and in no set order. The bound is the parameter ?1, so that one statement serves every
  // list.
  static std::string acsmBooksWithAcsmFile(const std::string& storages);
  // Our own look-up ahead of acsmBooks: the oldest added time of a visible book added at or after
  // the bound parameter (?1) with an acsm file in a present storage; NULL when there is none. See
  // DBManager::acsmLowerBound.
  static std::string acsmLowerBound(const std::string& storages);
  static std::string booksByTimestamp(const std::string& storages, int64_t ts,
                                      const std::string& collate_with_numbers);
  static std::string filesByTimestamp(const std::string& storages, int64_t ts);
  static std::string book(const std::string& storages);
  static std::string bookLocalFiles(const std::string& storages);
  static std::string removeFile(const std::string& storages);
  static std::string removeFilesByTimestamp(const std::string& storages, int64_t ts);
};

}  // namespace marrowleaf::desktop
