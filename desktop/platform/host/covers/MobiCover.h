#pragma once

#include <cstdint>
#include <string>

namespace marrowleaf::platform {

// The cover of a MOBI or AZW3 book: a PalmDB file whose first record carries the MOBI header and
// its EXTH block; EXTH record 201 gives the cover's record as an offset from the first picture
// record (202, the thumbnail, is the second choice). Every offset is checked against the file.
class MobiCover {
 public:
  static bool Extract(const std::string& book, std::string* image, std::string* title = nullptr);

 private:
  struct Records;
  static bool ReadRecordTable(const std::string& book, Records* records);
  static uint32_t ReadBig32(const std::string& bytes, size_t offset);
};

}  // namespace marrowleaf::platform
