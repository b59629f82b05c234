// The sample device's book files, made from a small library database of the device's schema.
#define MARROWLEAF_SAMPLE_COVERS 1
#include "../../tools/make-sample-device/SampleCovers.cpp"

#include <gtest/gtest.h>

#include "FailedBooks.h"
#include "support/TempDeviceRoot.h"

namespace marrowleaf::tools {
namespace {

void MakeLibrary(const test::TempDeviceRoot& root) {
  std::ifstream schema_file(std::string(MARROWLEAF_SOURCE_DIR) + "/desktop/res/db/explorer-3.sql");
  const std::string schema((std::istreambuf_iterator<char>(schema_file)),
                           std::istreambuf_iterator<char>());
  root.MakeFolder("/mnt/ext1/system/explorer-3");
  sqlite3* db = nullptr;
  ASSERT_EQ(SQLITE_OK, sqlite3_open(root.Host(kDatabase).c_str(), &db));
  const std::string rows =
      "INSERT INTO folders (id, name) VALUES (1, '/mnt/ext1/Books'), (2, '/cloud');"
      "INSERT INTO books_impl (id, title, author, resource_id) VALUES "
      "(1, 'Moby Dick', 'Herman Melville', 'res-1'), (2, 'The Odyssey', 'Homer', 'res-2'),"
      "(3, 'Dubliners', 'James Joyce', 'res-3'), (4, 'Cloudy', 'Nimbus', 'res-4');"
      "INSERT INTO files (book_id, folder_id, storageid, filename, ext, fast_hash) VALUES "
      "(1, 1, 1, 'Moby Dick.fb2', 'fb2', x'01'), (2, 1, 1, 'The Odyssey.pdf', 'pdf', x'02'),"
      "(3, 1, 1, 'Dubliners.fb2', 'fb2', x'03'), (4, 2, 4, 'Cloudy.epub', 'epub', x'04');";
  ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, schema.c_str(), nullptr, nullptr, nullptr));
  ASSERT_EQ(SQLITE_OK, sqlite3_exec(db, rows.c_str(), nullptr, nullptr, nullptr))
      << sqlite3_errmsg(db);
  sqlite3_close(db);
}

TEST(SampleCovers, EveryKindOfSampleBookShowsItsCoverAndOneFb2HasNone) {
  test::TempDeviceRoot root;
  platform::FailedBooks::Get().Forget();
  MakeLibrary(root);
  std::string error;
  ASSERT_TRUE(WriteSampleBookFiles(root.HostRoot(), &error)) << error;
  for (const char* book :
       {"/mnt/ext1/Books/Moby Dick.fb2", "/mnt/ext1/Books/The Odyssey.pdf",
        "/mnt/ext1/Books/Covers/The Lighthouse Keepers.epub",
        "/mnt/ext1/Books/Covers/Gardens of Glass.epub", "/mnt/ext1/Books/Covers/Salt Roads.epub",
        "/mnt/ext1/Books/Covers/Captain Comet.cbz", "/mnt/ext1/Books/Covers/River Songs.mobi"}) {
    const SmartBitmap cover = GetBookCoverEx(book, -1, -1, 1, 0);
    EXPECT_FALSE(cover.IsEmpty()) << book;
    EXPECT_GT(cover.Height(), cover.Width()) << book;
  }
  EXPECT_TRUE(GetBookCoverEx("/mnt/ext1/Books/Dubliners.fb2", -1, -1, 1, 0).IsEmpty());
  EXPECT_TRUE(
      GetBookCoverEx("/mnt/ext1/Books/Covers/A Book of Plain Words.epub", -1, -1, 1, 0).IsEmpty());
  SmartBitmap stored;
  EXPECT_TRUE(LoadCoverByHashOrResourceId("", 1, "res-4", 60, 90, 0, stored, false));
  EXPECT_TRUE(root.Exists("/mnt/ext1/system/store/covers/weekly_picks_0.jpg"));
  EXPECT_FALSE(root.Exists("/mnt/ext1/Books/Cloudy.epub"));
  EXPECT_FALSE(root.Exists("/cloud/Cloudy.epub"));
}

}  // namespace
}  // namespace marrowleaf::tools
