#pragma once

#include <string>

namespace marrowleaf::platform {

// The cover of an FB2 book: the binary that <coverpage><image l:href="#id"/> names, base64-decoded.
class Fb2Cover {
 public:
  // False when the book has no cover or is broken. `title` and `author` are filled whenever the
  // book could be read.
  static bool Extract(const std::string& book, std::string* image, std::string* title = nullptr,
                      std::string* author = nullptr);
};

}  // namespace marrowleaf::platform
