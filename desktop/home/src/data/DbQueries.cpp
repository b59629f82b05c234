#include "data/DbQueries.h"

namespace marrowleaf::desktop {
namespace {

// The joins every list statement shares: a book with its files, their folders and storages.
const char kJoins[] =
    " FROM books_impl b  INNER JOIN files file ON file.book_id = b.id INNER JOIN folders f ON "
    "file.folder_id = f.id INNER JOIN storages st ON st.id = file.storageid";
// Files that never make a book appear among the added ones; acsm files have a query of their own.
const char kExcludedExtensions[] =
    "      AND NOT (file.ext = \"mwi\" OR file.ext = \"mp3\" OR file.ext = \"m3u\" OR file.ext = "
    "\"acsm\")";

std::string GroupMembers(const std::string& select, const std::string& storages, int64_t ts) {
  return select + kJoins + " WHERE b.hidden != 1 AND b.ts_added = " + std::to_string(ts) +
         "      AND " + storages + kExcludedExtensions;
}

// The acsm statement up to its ORDER BY, with a condition of its own (empty for the plain text)
// after the storages; the bound is given as it is to appear in the text.
std::string AcsmGroups(const std::string& storages, const std::string& since,
                       const std::string& condition) {
  return std::string(
             "SELECT b.ts_added, b.id,       MIN(CASE WHEN st.type = 1 AND file.storageid IS NOT "
             "NULL THEN file.ext ELSE NULL END) AS local_path_ext,       MIN(CASE WHEN st.type = 2 "
             "AND file.storageid IS NOT NULL THEN file.ext ELSE NULL END) AS cloud_path_ext") +
         kJoins + " WHERE b.hidden != 1 AND b.ts_added >= " + since + "       AND " + storages +
         condition +
         "GROUP BY b.id HAVING ((local_path_ext IS NOT NULL AND (local_path_ext = \"acsm\")) OR "
         "(local_path_ext IS NULL AND cloud_path_ext = \"acsm\"))";
}

}  // namespace

std::string DbQueries::toStringNoSubquery(const std::string& column,
                                          const std::vector<int64_t>& ids) {
  if (ids.empty())
    return "(0)";
  std::string text = "(";
  for (size_t i = 0; i < ids.size(); ++i) {
    if (i > 0)
      text += " OR ";
    text += column + " = " + std::to_string(ids[i]);
  }
  return text + ")";
}

std::string DbQueries::openedBooks(const std::string& storages, int profile_id, size_t max) {
  return std::string("SELECT b.id, s.opentime") + kJoins +
         " LEFT OUTER JOIN books_settings s ON (s.bookid = b.id) WHERE b.hidden != 1 AND "
         "s.opentime > 0       AND " +
         storages + "\t\tAND s.profileid = " + std::to_string(profile_id) +
         " GROUP BY b.id HAVING NOT (MAX(file.ext) = \"acsm\")ORDER BY s.opentime DESC LIMIT " +
         std::to_string(max) + " OFFSET 0";
}

std::string DbQueries::addedBooks(const std::string& storages, int64_t since, size_t max) {
  return std::string("SELECT COUNT(DISTINCT b.id), b.ts_added, b.id") + kJoins +
         " WHERE b.hidden != 1 AND b.ts_added >= " + std::to_string(since) + "       AND " +
         storages + kExcludedExtensions + " GROUP BY b.ts_added ORDER BY b.ts_added DESC LIMIT " +
         std::to_string(max) + " OFFSET 0 ";
}

std::string DbQueries::acsmBooks(const std::string& storages, int64_t since, size_t max) {
  return AcsmGroups(storages, std::to_string(since), "") + "ORDER BY b.ts_added DESC LIMIT " +
         std::to_string(max) + " OFFSET 0 ";
}

std::string DbQueries::acsmBooksWithAcsmFile(const std::string& storages) {
  // A row of the acsm statement has an acsm file (the minimum that its HAVING compares is the
  // extension of one of the book's files), so keeping only the books that have one changes no
  // row. It changes the plan: the planner reads the few acsm files through the files index on
  // (ext, ...) and looks their books up by id, instead of walking every book of the library to
  // group it. Without the ORDER BY and the limit no temporary table sorts the rows: they come in
  // the order of their books, and the caller orders them.
  return AcsmGroups(storages, "?1",
                    " AND b.id IN (SELECT file.book_id FROM files file WHERE file.ext = 'acsm') ");
}

std::string DbQueries::acsmLowerBound(const std::string& storages) {
  // The conditions are those of acsmBooks, written the same way so that they hold for the same
  // rows, plus the one every row of acsmBooks implies: a file whose extension is "acsm". The
  // cross joins keep the files first, found through the files index on (ext, ...), so that only
  // the acsm files are read; left to itself the planner walks the added-time index from the
  // oldest book to find the minimum, which reads the whole library when there is no acsm file.
  return std::string(
             "SELECT MIN(b.ts_added) FROM files file CROSS JOIN books_impl b ON file.book_id = "
             "b.id CROSS JOIN folders f ON file.folder_id = f.id CROSS JOIN storages st ON "
             "st.id = file.storageid WHERE file.ext = 'acsm' AND b.hidden != 1 AND "
             "b.ts_added >= ?1 AND ") +
         storages;
}

std::string DbQueries::booksByTimestamp(const std::string& storages, int64_t ts,
                                        const std::string& collate_with_numbers) {
  return GroupMembers("SELECT b.id", storages, ts) +
         " GROUP BY b.id ORDER BY b.ts_added DESC, b.sort_title " + collate_with_numbers +
         " ASC, b.id ASC ";
}

std::string DbQueries::filesByTimestamp(const std::string& storages, int64_t ts) {
  return GroupMembers("SELECT f.name || '/' || file.filename as path", storages, ts) +
         " ORDER BY b.id ";
}

std::string DbQueries::book(const std::string& storages) {
  return std::string("SELECT ") + " b.id " + ", " +
         " b.title, b.author, b.firstauthor, b.series, b.numinseries, b.size, b.creationtime, "
         "b.updated, MAX(file.ext), b.ts_added,  SUM(CASE WHEN st.type = 2 THEN 1 ELSE 0 END) AS "
         "is_cloud,  MIN(CASE WHEN st.type = 2 THEN file.ext ELSE NULL END) AS cloud_file_ext,  "
         "SUM(CASE WHEN st.type = 1 AND file.storageid IS NOT NULL THEN 1 ELSE 0 END) AS "
         "is_local,  MIN(CASE WHEN st.type = 1 AND file.storageid IS NOT NULL THEN f.name || '/' "
         "|| file.filename ELSE NULL END) AS path,  file.fast_hash,  b.resource_id " +
         ",  s.position, s.cpage, s.npage, s.opentime, s.completed, s.favorite, s.custom, "
         "s.position_ts, s.favorite_ts " +
         " FROM " + " books_impl b " +
         " INNER JOIN files file ON file.book_id = b.id INNER JOIN folders f ON file.folder_id = "
         "f.id INNER JOIN storages st ON st.id = file.storageid " +
         " LEFT OUTER JOIN books_settings s ON (s.bookid = b.id AND s.profileid = ?)" + " WHERE " +
         " b.id = ?" + " AND " + storages + " GROUP BY b.id ";
}

std::string DbQueries::bookLocalFiles(const std::string& storages) {
  return std::string(
             "SELECT f.name || '/' || file.filename as path FROM files file INNER JOIN folders f "
             "ON f.id = file.folder_id ") +
         " INNER JOIN storages st ON st.id = file.storageid " + " WHERE file.book_id = ? AND " +
         storages + " AND st.type = 1";
}

std::string DbQueries::removeFile(const std::string& storages) {
  return std::string(
             "DELETE FROM files WHERE id IN (SELECT file.id FROM files file INNER JOIN folders f "
             "ON file.folder_id = f.id ") +
         " WHERE " + storages + " AND file.filename = ? AND f.name = ? )";
}

std::string DbQueries::removeFilesByTimestamp(const std::string& storages, int64_t ts) {
  return "DELETE FROM files WHERE book_id IN (" + GroupMembers("SELECT b.id", storages, ts) +
         " GROUP BY b.id ORDER BY b.id )";
}

}  // namespace marrowleaf::desktop
