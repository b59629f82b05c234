#include "platform/utils/Statement.h"

#include <sqlite3.h>

namespace marrowleaf::utilities {

Statement::BindError::BindError(int code, int index)
    : std::runtime_error("bind " + std::to_string(index) + " failed: " + sqlite3_errstr(code)),
      code_(code) {}

Statement::~Statement() {
  sqlite3_finalize(statement_);
}

void Statement::check(int code, int index) const {
  if (code != SQLITE_OK)
    throw BindError(code, index);
}

void Statement::bind(int index, int value) {
  check(sqlite3_bind_int(statement_, index, value), index);
}

void Statement::bind(int index, int64_t value) {
  check(sqlite3_bind_int64(statement_, index, value), index);
}

void Statement::bind(int index, const std::string& text) {
  check(sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT),
        index);
}

void Statement::bindBlob(int index, const std::string& bytes) {
  check(sqlite3_bind_blob(statement_, index, bytes.data(), static_cast<int>(bytes.size()),
                          SQLITE_TRANSIENT),
        index);
}

int Statement::step() {
  return sqlite3_step(statement_);
}
int Statement::reset() {
  return sqlite3_reset(statement_);
}
int Statement::clear_bindings() {
  return sqlite3_clear_bindings(statement_);
}

int Statement::columnInt(int column) const {
  return sqlite3_column_int(statement_, column);
}

int64_t Statement::columnInt64(int column) const {
  return sqlite3_column_int64(statement_, column);
}

std::string Statement::columnText(int column) const {
  const unsigned char* text = sqlite3_column_text(statement_, column);
  if (text == nullptr)
    return std::string();
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<size_t>(sqlite3_column_bytes(statement_, column)));
}

std::string Statement::columnBlob(int column) const {
  const void* bytes = sqlite3_column_blob(statement_, column);
  if (bytes == nullptr)
    return std::string();
  return std::string(static_cast<const char*>(bytes),
                     static_cast<size_t>(sqlite3_column_bytes(statement_, column)));
}

bool Statement::columnIsNull(int column) const {
  return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

}  // namespace marrowleaf::utilities
