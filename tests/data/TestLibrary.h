// A library database built from the indexer's schema resource inside a temporary device root, with
// helpers that add rows the way the indexer would. Header-only: every test program includes it.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {

class TestLibrary {
 public:
  static constexpr const char* kDbPath = "/mnt/ext1/system/explorer-3/explorer-3.db";
  enum Storage { kInternal = 1, kCard = 2, kUsb = 3, kCloud = 4 };

  // Creates the database with the internal storage, card and USB rows and one cloud storage; the
  // folders of the internal storage and the card exist, the USB one does not.
  explicit TestLibrary(const TempDeviceRoot& root) : root_(root) {
    root.MakeFolder("/mnt/ext1/system/explorer-3");
    root.MakeFolder("/mnt/ext2");
    std::ifstream in(std::string(MARROWLEAF_SOURCE_DIR) + "/desktop/res/db/explorer-3.sql");
    std::stringstream schema;
    schema << in.rdbuf();
    EXPECT_EQ(SQLITE_OK, sqlite3_open(root.Host(kDbPath).c_str(), &db_));
    Exec(schema.str());
    Exec(
        "INSERT INTO storages (id, type, name, path) VALUES (1, 1, 'Internal', '/mnt/ext1'),"
        "(2, 1, 'Card', '/mnt/ext2'), (3, 1, 'USB', '/mnt/ext3'), (4, 2, 'Cloud', '');"
        "INSERT INTO profiles (id, name) VALUES (1, 'default');");
  }
  ~TestLibrary() { sqlite3_close(db_); }
  TestLibrary(const TestLibrary&) = delete;
  TestLibrary& operator=(const TestLibrary&) = delete;

  void Exec(const std::string& sql) {
    char* message = nullptr;
    EXPECT_EQ(SQLITE_OK, sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message))
        << (message ? message : "") << "\n"
        << sql;
    sqlite3_free(message);
  }

  int64_t QueryInt(const std::string& sql) {
    sqlite3_stmt* st = nullptr;
    EXPECT_EQ(SQLITE_OK, sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr)) << sql;
    int64_t value = -12345;
    if (st && sqlite3_step(st) == SQLITE_ROW)
      value = sqlite3_column_int64(st, 0);
    sqlite3_finalize(st);
    return value;
  }

  // Adds a book with one file; returns the book id. The file's fast hash is "hash<id>" unless set.
  int64_t AddBook(const std::string& title, int64_t ts_added, const std::string& filename = "",
                  Storage storage = kInternal, const std::string& folder = "/mnt/ext1/Books") {
    const int64_t id = ++last_book_;
    const std::string file = filename.empty() ? title + ".fb2" : filename;
    Exec(
        "INSERT INTO books_impl (id, title, author, ts_added, hidden, sort_title, resource_id) "
        "VALUES (" +
        std::to_string(id) + ", " + Quote(title) + ", 'Author', " + std::to_string(ts_added) +
        ", 0, " + Quote(title) + ", X'00ff" + Hex(id) + "');");
    AddFile(id, file, storage, folder);
    return id;
  }

  void AddFile(int64_t book, const std::string& filename, Storage storage,
               const std::string& folder = "/mnt/ext1/Books") {
    Exec("INSERT OR IGNORE INTO folders (name) VALUES (" + Quote(folder) + ");");
    const size_t dot = filename.rfind('.');
    Exec("INSERT INTO files (book_id, folder_id, storageid, filename, ext, fast_hash) VALUES (" +
         std::to_string(book) + ", (SELECT id FROM folders WHERE name = " + Quote(folder) + "), " +
         std::to_string(storage) + ", " + Quote(filename) + ", " +
         Quote(dot == std::string::npos ? "" : filename.substr(dot + 1)) + ", X'" + Hex(book) +
         "');");
  }

  void Open(int64_t book, int64_t opentime, int cpage = 5, int npage = 100, int favorite = 0,
            int profile = 1) {
    Exec(
        "INSERT OR REPLACE INTO books_settings (bookid, profileid, opentime, cpage, npage, "
        "favorite, completed, position) VALUES (" +
        std::to_string(book) + ", " + std::to_string(profile) + ", " + std::to_string(opentime) +
        ", " + std::to_string(cpage) + ", " + std::to_string(npage) + ", " +
        std::to_string(favorite) + ", 0, 'pos');");
  }

  // The fast hash every book's file gets: the id's bytes with a zero byte inside.
  static std::string FastHash(int64_t book) {
    std::string bytes;
    const std::string hex = Hex(book);
    for (size_t i = 0; i < hex.size(); i += 2) {
      bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
  }

  void AddProp(int64_t book, int type, const std::string& value) {
    AddProp(book, std::to_string(type), value);
  }
  // A property whose type is the SQL literal given, such as a real number or a text.
  void AddProp(int64_t book, const std::string& type, const std::string& value) {
    Exec("INSERT INTO file_props (fast_hash, prop_type, value) VALUES (X'" + Hex(book) + "', " +
         type + ", " + Quote(value) + ");");
  }

  static std::string Quote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
      quoted += c;
      if (c == '\'')
        quoted += '\'';
    }
    return quoted + "'";
  }

 private:
  static std::string Hex(int64_t id) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "ab00%08llx", static_cast<unsigned long long>(id));
    return buffer;
  }

  const TempDeviceRoot& root_;
  sqlite3* db_ = nullptr;
  int64_t last_book_ = 0;
};

}  // namespace marrowleaf::test
