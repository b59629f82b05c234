// Layout of an update file (offsets in the decompressed data):
//
//   0    16 bytes  magic "MarrowleafUpdate", no terminator
//   36   12 bytes  firmware version, NUL-padded (all 12 may be characters)
//   256  16 entries of 16 bytes: name (8, NUL-terminated; an empty name ends the table),
//                  offset (u32 little-endian; the data starts at offset + 1024), length (u32 LE)
//
// A section whose name begins with 'a' is text that may hold "VERSION=<version>"; that version wins
// over the header's. Only the header and at most 1024 bytes of each 'a' section are ever read.
//
// Reaching a section means inflating everything before it, and going back to an earlier one starts
// over from the beginning, so a small file with far-apart sections could keep the start-up busy for
// minutes. The inflating is bounded by the file's real size: an image needing more than a generous
// compression ratio allows is damaged.
#include "system_init/SwUpdateFile.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "platform/sdk/device.h"
#include "platform/sdk/files.h"

namespace marrowleaf::desktop {
namespace {

constexpr char kMagic[] = "MarrowleafUpdate";
constexpr size_t kMagicSize = 16;
constexpr size_t kHeaderSize = 512;
constexpr size_t kVersionOffset = 36;
constexpr size_t kVersionSize = 12;
constexpr size_t kSectionTableOffset = 256;
constexpr size_t kSectionEntrySize = 16;
constexpr size_t kSectionCount = 16;
constexpr size_t kSectionNameSize = 8;
constexpr z_off64_t kSectionDataBase = 1024;
constexpr uint32_t kSectionReadCap = 1024;
constexpr size_t kMaxVersionValue = 32;
constexpr char kVersionKey[] = "VERSION=";
// Firmware images compress a few times over; 64 leaves a wide margin, the floor covers tiny files.
constexpr uint64_t kMaxInflateRatio = 64;
constexpr uint64_t kInflateFloor = 1 << 20;

using GzHandle = std::unique_ptr<gzFile_s, decltype(&gzclose)>;

// How much more may be inflated, and where in the inflated data the stream stands.
class InflateBudget {
 public:
  explicit InflateBudget(const std::string& host_path) {
    struct stat info {};
    const uint64_t size = stat(host_path.c_str(), &info) == 0 ? static_cast<uint64_t>(info.st_size) : 0;
    remaining_ = kInflateFloor + kMaxInflateRatio * size;
  }
  // Takes the cost of reading count bytes at offset; false when the budget can't pay for it.
  bool Spend(uint64_t offset, uint64_t count) {
    const uint64_t skipped = offset >= position_ ? offset - position_ : offset;
    if (skipped + count > remaining_)
      return false;
    remaining_ -= skipped + count;
    position_ = offset + count;
    return true;
  }

 private:
  uint64_t remaining_ = 0;
  uint64_t position_ = 0;
};

struct SectionEntry {
  std::string name;
  uint32_t offset = 0;
  uint32_t length = 0;
};

uint32_t LittleEndian32(const unsigned char* bytes) {
  return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
         static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

std::string FixedText(const unsigned char* bytes, size_t size) {
  const char* text = reinterpret_cast<const char*>(bytes);
  return std::string(text, strnlen(text, size));
}

SectionEntry SectionAt(const unsigned char* header, size_t index) {
  const unsigned char* entry = header + kSectionTableOffset + index * kSectionEntrySize;
  SectionEntry section;
  section.name = FixedText(entry, kSectionNameSize);
  section.offset = LittleEndian32(entry + kSectionNameSize);
  section.length = LittleEndian32(entry + kSectionNameSize + 4);
  return section;
}

// The value after "VERSION=" in a NUL-terminated text: printable ASCII, at most 32 characters.
// Returns false when the text has no such line.
bool FindVersionValue(const char* text, std::string* version) {
  const char* found = std::strstr(text, kVersionKey);
  if (found == nullptr)
    return false;
  const char* value = found + std::strlen(kVersionKey);
  size_t length = 0;
  while (length < kMaxVersionValue) {
    const unsigned char code = static_cast<unsigned char>(value[length]);
    if (code < 32 || code >= 0x80)
      break;
    ++length;
  }
  *version = std::string(value, length);
  return true;
}

// Reads the start of an 'a' section and takes its version when it has one. Returns false when the
// section lies beyond the data: a short read counts as well, since the file is then cut off.
bool ReadVersionFromSection(gzFile file, const SectionEntry& section, InflateBudget* budget,
                            std::string* version) {
  std::fprintf(stderr, "a section found! try seek to %u\n", section.offset);
  const uint32_t count = std::min(section.length, kSectionReadCap);
  if (!budget->Spend(section.offset + kSectionDataBase, count)) {
    std::fprintf(stderr, "the sections lie further apart than the file can hold\n");
    return false;
  }
  if (gzseek64(file, section.offset + kSectionDataBase, SEEK_SET) < 0)
    return false;
  std::fprintf(stderr, "seek done\ntry to read %u bytes\n", count);
  char data[kSectionReadCap + 1] = {};
  const int got = gzread(file, data, count);
  if (got < 0 || static_cast<uint32_t>(got) != count)
    return false;
  std::fprintf(stderr, "read done\n");
  // Binary data is no text: only a NUL inside what was read, before the section's end, makes it
  // one.
  const char* nul = static_cast<const char*>(std::memchr(data, 0, count));
  const bool is_text = nul != nullptr && section.length > static_cast<uint32_t>(nul - data);
  if (is_text && FindVersionValue(data, version)) {
    std::fprintf(stderr, "Found version %s in 'a' section\n", version->c_str());
  } else {
    std::fprintf(stderr, "No version found in 'a' section\n");
  }
  return true;
}

// Closes and deletes a file that is no valid update file; always "not installed".
int Reject(GzHandle file, const char* path) {
  file.reset();
  pk_unlink(path);
  return 0;
}

}  // namespace

int check_swupdate_file(const char* path) {
  if (path == nullptr)
    return 0;
  std::fprintf(stderr, "** check_swupdate_file: %s\n", path);
  const std::string host_path = HostPath(path);
  GzHandle file(gzopen64(host_path.c_str(), "r"), &gzclose);
  if (!file) {
    std::fprintf(stderr, "file not found\n");
    return 0;
  }
  unsigned char header[kHeaderSize];
  if (gzread(file.get(), header, kHeaderSize) != static_cast<int>(kHeaderSize)) {
    std::fprintf(stderr, "update file is too short\n");
    return Reject(std::move(file), path);
  }
  if (std::memcmp(header, kMagic, kMagicSize) != 0) {
    std::fprintf(stderr, "this is not an swupdate file\n");
    return Reject(std::move(file), path);
  }
  InflateBudget budget(host_path);
  budget.Spend(0, kHeaderSize);
  std::string version = FixedText(header + kVersionOffset, kVersionSize);
  std::fprintf(stderr, "Version from header: %s\n", version.c_str());
  for (size_t index = 0; index < kSectionCount; ++index) {
    const SectionEntry section = SectionAt(header, index);
    if (section.name.empty())
      break;
    std::fprintf(stderr, "%08x %08x %s\n", section.offset, section.length, section.name.c_str());
    if (section.name[0] != 'a')
      continue;
    if (!ReadVersionFromSection(file.get(), section, &budget, &version)) {
      std::fprintf(stderr, "Unexpected EOF\n");
      return Reject(std::move(file), path);
    }
  }
  file.reset();
  const char* device_version = GetSoftwareVersion();
  if (device_version == nullptr)
    device_version = "";
  std::fprintf(stderr, "Device version=%s, '%s' version=%s\n", device_version, path,
               version.c_str());
  if (version == device_version) {
    std::fprintf(stderr, "Version matches\n");
    return 1;
  }
  std::fprintf(stderr, "Version mismatches\n");
  return 0;
}

}  // namespace marrowleaf::desktop
