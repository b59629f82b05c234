#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

struct sqlite3_stmt;

namespace marrowleaf::utilities {

// One prepared SQLite statement, finalised with the object. Binding a value that SQLite refuses
// throws Statement::BindError carrying SQLite's code, so a caller can bind several values in a row
// and handle the first failure in one place. Column readers give "" for NULL texts and 0 for NULL
// numbers.
class Statement {
 public:
  // The failure of one bind; code() is the SQLite result code.
  class BindError : public std::runtime_error {
   public:
    BindError(int code, int index);
    int code() const { return code_; }

   private:
    int code_;
  };

  explicit Statement(sqlite3_stmt* statement) : statement_(statement) {}
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  void bind(int index, int value);
  void bind(int index, int64_t value);
  void bind(int index, const std::string& text);
  void bindBlob(int index, const std::string& bytes);

  // SQLITE_ROW, SQLITE_DONE or an error code.
  int step();
  int reset();
  int clear_bindings();

  int columnInt(int column) const;
  int64_t columnInt64(int column) const;
  std::string columnText(int column) const;
  std::string columnBlob(int column) const;
  bool columnIsNull(int column) const;

  sqlite3_stmt* handle() const { return statement_; }

 private:
  void check(int code, int index) const;

  sqlite3_stmt* statement_;
};

}  // namespace marrowleaf::utilities
