// The texts of the library statements that carry inserted values are the indexer's contract: its
// indexes were chosen for them and other programs of the device log and compare them. Each text
// here is written out in full, independently of the code that builds it.
#include "data/DbQueries.h"

#include <gtest/gtest.h>

#include <string>

namespace marrowleaf::desktop {
namespace {

const std::string kStorages = "(file.storageid = 1 OR file.storageid = 3)";
const std::string kCollate = " COLLATE locale_dependent_collation_with_numbers ";

const std::string kOpened =
    std::string(
        "SELECT b.id, s.opentime FROM books_impl b  INNER JOIN files file ON file.book_id = b.id "
        "INNER JOIN folders f ON file.folder_id = f.id INNER JOIN storages st ON st.id = "
        "file.storageid LEFT OUTER JOIN books_settings s ON (s.bookid = b.id) WHERE b.hidden != 1 "
        "AND s.opentime > 0       AND ") +
    kStorages + "\t\tAND s.profileid = " + "7" +
    " GROUP BY b.id HAVING NOT (MAX(file.ext) = \"acsm\")ORDER BY s.opentime DESC LIMIT " + "20" +
    " OFFSET 0";
const std::string kAdded =
    std::string(
        "SELECT COUNT(DISTINCT b.id), b.ts_added, b.id FROM books_impl b  INNER JOIN files file ON "
        "file.book_id = b.id INNER JOIN folders f ON file.folder_id = f.id INNER JOIN storages st "
        "ON st.id = file.storageid WHERE b.hidden != 1 AND b.ts_added >= ") +
    "1500" + "       AND " + kStorages +
    "      AND NOT (file.ext = \"mwi\" OR file.ext = \"mp3\" OR file.ext = \"m3u\" OR file.ext = "
    "\"acsm\") GROUP BY b.ts_added ORDER BY b.ts_added DESC LIMIT " +
    "20" + " OFFSET 0 ";
const std::string kAcsm =
    std::string(
        "SELECT b.ts_added, b.id,       MIN(CASE WHEN st.type = 1 AND file.storageid IS NOT NULL "
        "THEN file.ext ELSE NULL END) AS local_path_ext,       MIN(CASE WHEN st.type = 2 AND "
        "file.storageid IS NOT NULL THEN file.ext ELSE NULL END) AS cloud_path_ext FROM books_impl "
        "b  INNER JOIN files file ON file.book_id = b.id INNER JOIN folders f ON file.folder_id = "
        "f.id INNER JOIN storages st ON st.id = file.storageid WHERE b.hidden != 1 AND b.ts_added "
        ">= ") +
    "1500" + "       AND " + kStorages +
    "GROUP BY b.id HAVING ((local_path_ext IS NOT NULL AND (local_path_ext = \"acsm\")) OR "
    "(local_path_ext IS NULL AND cloud_path_ext = \"acsm\"))ORDER BY b.ts_added DESC LIMIT " +
    "20" + " OFFSET 0 ";
const std::string kGroup =
    std::string(
        "SELECT b.id FROM books_impl b  INNER JOIN files file ON file.book_id = b.id INNER JOIN "
        "folders f ON file.folder_id = f.id INNER JOIN storages st ON st.id = file.storageid WHERE "
        "b.hidden != 1 AND b.ts_added = ") +
    "1700" + "      AND " + kStorages +
    "      AND NOT (file.ext = \"mwi\" OR file.ext = \"mp3\" OR file.ext = \"m3u\" OR file.ext = "
    "\"acsm\") GROUP BY b.id ORDER BY b.ts_added DESC, b.sort_title " +
    kCollate + " ASC, b.id ASC ";
const std::string kGroupFiles =
    std::string(
        "SELECT f.name || '/' || file.filename as path FROM books_impl b  INNER JOIN files file ON "
        "file.book_id = b.id INNER JOIN folders f ON file.folder_id = f.id INNER JOIN storages st "
        "ON st.id = file.storageid WHERE b.hidden != 1 AND b.ts_added = ") +
    "1700" + "      AND " + kStorages +
    "      AND NOT (file.ext = \"mwi\" OR file.ext = \"mp3\" OR file.ext = \"m3u\" OR file.ext = "
    "\"acsm\") ORDER BY b.id ";
const std::string kRemoveGroupFiles =
    std::string(
        "DELETE FROM files WHERE book_id IN (SELECT b.id FROM books_impl b  INNER JOIN files file "
        "ON file.book_id = b.id INNER JOIN folders f ON file.folder_id = f.id INNER JOIN storages "
        "st ON st.id = file.storageid WHERE b.hidden != 1 AND b.ts_added = ") +
    "1700" + "      AND " + kStorages +
    "      AND NOT (file.ext = \"mwi\" OR file.ext = \"mp3\" OR file.ext = \"m3u\" OR file.ext = "
    "\"acsm\") GROUP BY b.id ORDER BY b.id )";

TEST(DbQueries, StorageClauseListsEveryStorageOrMatchesNothing) {
  EXPECT_EQ(DbQueries::toStringNoSubquery("file.storageid", {1, 3}), kStorages);
  EXPECT_EQ(DbQueries::toStringNoSubquery("file.storageid", {12}), "(file.storageid = 12)");
  EXPECT_EQ(DbQueries::toStringNoSubquery("file.storageid", {}), "(0)");
}

TEST(DbQueries, HomeScreenListsUseTheirExactTexts) {
  EXPECT_EQ(DbQueries::openedBooks(kStorages, 7, 20), kOpened);
  EXPECT_EQ(DbQueries::addedBooks(kStorages, 1500, 20), kAdded);
  EXPECT_EQ(DbQueries::acsmBooks(kStorages, 1500, 20), kAcsm);
}

TEST(DbQueries, GroupStatementsUseTheirExactTexts) {
  EXPECT_EQ(DbQueries::booksByTimestamp(kStorages, 1700, kCollate), kGroup);
  EXPECT_EQ(DbQueries::filesByTimestamp(kStorages, 1700), kGroupFiles);
  EXPECT_EQ(DbQueries::removeFilesByTimestamp(kStorages, 1700), kRemoveGroupFiles);
}

}  // namespace
}  // namespace marrowleaf::desktop
