#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// Finds the picture of a book file by its kind (the file name's extension).
class BookCoverReader {
 public:
  // The cover the book carries: an embedded picture, or the first page of page-based formats.
  // target_width/height: the size the caller needs (-1: full size).
  static SmartBitmap EmbeddedCover(const std::string& host_path, int target_width,
                                   int target_height, int format);
  // What the book's first page shows, made into a picture of about width x height: a rendered
  // page, the first picture of the book, or a typographic cover from its title and author.
  static SmartBitmap FirstPage(const std::string& host_path, int width, int height, int format);
  // The extension of a file name in lower case, without the dot ("" when none).
  static std::string Extension(const std::string& path);

 private:
  static bool ReadBook(const std::string& host_path, size_t cap, std::string* bytes);
  static SmartBitmap TypographicFallback(const std::string& host_path, const std::string& title,
                                         const std::string& author, int width, int height,
                                         int format);
};

}  // namespace marrowleaf::platform
