// The limits every cover source keeps, so that a damaged or hostile book costs a bounded amount of
// memory and time and never more.
#pragma once

#include <chrono>
#include <cstddef>

namespace marrowleaf::platform {

struct CoverLimits {
  // A book file read whole into memory (FB2, MOBI).
  static constexpr size_t kMaxBookBytes = 64u * 1024 * 1024;
  // A book file opened by a library that reads it itself (PDF, DjVu, ZIP archives).
  static constexpr size_t kMaxDocumentBytes = 512u * 1024 * 1024;
  // One picture taken out of a book.
  static constexpr size_t kMaxImageBytes = 16u * 1024 * 1024;
  // An XML document of a book's structure (container, package, chapter).
  static constexpr size_t kMaxXmlBytes = 4u * 1024 * 1024;
  static constexpr int kMaxXmlDepth = 256;
  // Everything decompressed from one archive while looking for its cover: a zip bomb stops here.
  static constexpr size_t kMaxArchiveUnpackedBytes = 48u * 1024 * 1024;
  static constexpr size_t kMaxArchiveEntries = 20000;
  // The side and pixel count of a rendered page.
  static constexpr int kMaxRenderSide = 4096;
  static constexpr long long kMaxRenderPixels = 8LL * 1024 * 1024;
  // The longer side of a page rendered "at its own size".
  static constexpr int kFullSizeRenderSide = 1600;
  // Time one book may take.
  static constexpr std::chrono::milliseconds kTimeBudget{3000};
};

// The moment by which a cover source must give up.
class CoverDeadline {
 public:
  explicit CoverDeadline(std::chrono::milliseconds budget = CoverLimits::kTimeBudget)
      : end_(std::chrono::steady_clock::now() + budget) {}
  bool Passed() const { return std::chrono::steady_clock::now() >= end_; }
  std::chrono::milliseconds Left() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(end_ -
                                                                 std::chrono::steady_clock::now());
  }

 private:
  std::chrono::steady_clock::time_point end_;
};

}  // namespace marrowleaf::platform
