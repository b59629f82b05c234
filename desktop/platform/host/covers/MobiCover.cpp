#include "MobiCover.h"

#include <algorithm>
#include <vector>

#include "CoverLimits.h"

namespace marrowleaf::platform {
namespace {

constexpr size_t kPalmHeader = 78;
constexpr size_t kMobiMagic = 16;         // "MOBI" in record 0
constexpr size_t kMobiHeaderLength = 20;  // length of the MOBI header, from kMobiMagic
constexpr size_t kFullNameOffset = 84;
constexpr size_t kFullNameLength = 88;
constexpr size_t kFirstImage = 108;
constexpr size_t kExthFlags = 128;
constexpr uint32_t kExthPresent = 0x40;
constexpr uint32_t kExthCover = 201;
constexpr uint32_t kExthThumbnail = 202;
constexpr uint32_t kNoIndex = 0xffffffffu;

bool LooksLikePicture(const std::string& bytes) {
  return bytes.size() > 8 && (bytes.compare(0, 3, "\xff\xd8\xff") == 0 ||
                              bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0);
}

}  // namespace

struct MobiCover::Records {
  std::vector<uint32_t> offsets;  // one more than the records: the end of the file
};

uint32_t MobiCover::ReadBig32(const std::string& bytes, size_t offset) {
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

bool MobiCover::ReadRecordTable(const std::string& book, Records* records) {
  if (book.size() < kPalmHeader || book.size() > CoverLimits::kMaxBookBytes)
    return false;
  const auto* p = reinterpret_cast<const unsigned char*>(book.data());
  const size_t count = (size_t{p[76]} << 8) | p[77];
  if (count == 0 || kPalmHeader + count * 8 > book.size())
    return false;
  for (size_t i = 0; i < count; ++i) {
    const uint32_t offset = ReadBig32(book, kPalmHeader + i * 8);
    // Records must lie in the file in ascending order.
    if (offset > book.size() || (!records->offsets.empty() && offset < records->offsets.back()))
      return false;
    records->offsets.push_back(offset);
  }
  records->offsets.push_back(static_cast<uint32_t>(book.size()));
  return true;
}

bool MobiCover::Extract(const std::string& book, std::string* image, std::string* title) {
  Records records;
  if (!ReadRecordTable(book, &records))
    return false;
  const size_t start = records.offsets[0];
  const size_t end = records.offsets[1];
  if (end - start < kExthFlags + 4 || book.compare(start + kMobiMagic, 4, "MOBI") != 0)
    return false;
  const size_t header_length = ReadBig32(book, start + kMobiHeaderLength);
  const uint32_t first_image = ReadBig32(book, start + kFirstImage);
  if (title != nullptr) {
    const size_t name_offset = ReadBig32(book, start + kFullNameOffset);
    const size_t name_length = ReadBig32(book, start + kFullNameLength);
    if (name_offset < end - start && name_length <= end - start - name_offset && name_length < 1024)
      *title = book.substr(start + name_offset, name_length);
  }
  if ((ReadBig32(book, start + kExthFlags) & kExthPresent) == 0 || first_image == kNoIndex)
    return false;
  size_t exth = start + kMobiMagic + header_length;
  if (header_length > end - start || exth + 12 > end || book.compare(exth, 4, "EXTH") != 0)
    return false;
  const size_t exth_end = std::min(end, exth + ReadBig32(book, exth + 4));
  const uint32_t exth_count = ReadBig32(book, exth + 8);
  uint32_t cover = kNoIndex;
  uint32_t thumbnail = kNoIndex;
  size_t cursor = exth + 12;
  for (uint32_t i = 0; i < exth_count && cursor + 8 <= exth_end; ++i) {
    const uint32_t type = ReadBig32(book, cursor);
    const uint32_t length = ReadBig32(book, cursor + 4);
    if (length < 8 || length > exth_end - cursor)
      return false;
    if (length >= 12 && type == kExthCover)
      cover = ReadBig32(book, cursor + 8);
    if (length >= 12 && type == kExthThumbnail)
      thumbnail = ReadBig32(book, cursor + 8);
    cursor += length;
  }
  for (uint32_t offset : {cover, thumbnail}) {
    if (offset == kNoIndex)
      continue;
    const uint64_t index = uint64_t{first_image} + offset;
    if (index + 1 >= records.offsets.size())
      continue;
    const size_t from = records.offsets[index];
    const size_t to = records.offsets[index + 1];
    if (to - from > CoverLimits::kMaxImageBytes)
      continue;
    *image = book.substr(from, to - from);
    if (LooksLikePicture(*image))
      return true;
  }
  image->clear();
  return false;
}

}  // namespace marrowleaf::platform
