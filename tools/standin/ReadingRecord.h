#pragma once

#include <string>

namespace marrowleaf::tools {

// What a reader leaves in the library when it opens a book: the book's opening time for the
// current user profile, so that the home screen shows it first when it comes back.
class ReadingRecord {
 public:
  // True when the program at this device path is the reader the device chooses for the book.
  static bool IsReaderOf(const std::string& program, const std::string& book_path);
  // Marks the book at this device path as opened now. False when the library has no such book or
  // can't be written.
  static bool MarkOpened(const std::string& book_path);
};

}  // namespace marrowleaf::tools
