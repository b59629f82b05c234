#pragma once

#include <string>

#include "CoverLimits.h"
#include "ZipReader.h"

namespace marrowleaf::platform {

// The cover picture of an EPUB archive.
class EpubCover {
 public:
  // The declared cover picture, else the first picture of the cover page or of the first spine
  // item. False when the book has none (or is broken); `title` and `author` are filled whenever
  // the package could be read, for a typographic cover.
  static bool Extract(ZipReader& zip, const CoverDeadline& deadline, std::string* image,
                      std::string* title = nullptr, std::string* author = nullptr);
  // Only the picture of the first page (the cover page or the first spine item): what a rendered
  // first page would show.
  static bool ExtractFirstPage(ZipReader& zip, const CoverDeadline& deadline, std::string* image,
                               std::string* title = nullptr, std::string* author = nullptr);
};

}  // namespace marrowleaf::platform
