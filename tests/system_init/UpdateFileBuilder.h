// Builds firmware update files for the tests: a 512-byte header, a section table and section data
// at offset + 1024, written gzip-compressed (or plain) to a file of a temporary device root.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/TempDeviceRoot.h"

namespace marrowleaf::test {

struct UpdateSection {
  std::string name;
  std::string data;
  // The offset written into the table; by default the data is placed right after the last one.
  int64_t offset = -1;
  int64_t length = -1;  // the length written into the table; by default the data's size
};

inline void PutLittleEndian32(std::string* bytes, size_t at, uint32_t value) {
  for (size_t index = 0; index < 4; ++index) {
    (*bytes)[at + index] = static_cast<char>((value >> (8 * index)) & 0xff);
  }
}

inline std::string UpdateFileBytes(const std::string& version,
                                   const std::vector<UpdateSection>& sections,
                                   const std::string& magic = "MarrowleafUpdate") {
  std::string bytes(1024, '\0');
  bytes.replace(0, magic.size(), magic);
  bytes.replace(36, version.size(), version);
  size_t next_offset = 0;
  for (size_t index = 0; index < sections.size(); ++index) {
    const UpdateSection& section = sections[index];
    const size_t entry = 256 + index * 16;
    bytes.replace(entry, section.name.size(), section.name);
    const size_t offset = section.offset >= 0 ? static_cast<size_t>(section.offset) : next_offset;
    PutLittleEndian32(&bytes, entry + 8, static_cast<uint32_t>(offset));
    PutLittleEndian32(
        &bytes, entry + 12,
        static_cast<uint32_t>(section.length >= 0 ? section.length : section.data.size()));
    if (section.offset < 0) {
      if (bytes.size() < 1024 + offset + section.data.size()) {
        bytes.resize(1024 + offset + section.data.size(), '\0');
      }
      bytes.replace(1024 + offset, section.data.size(), section.data);
      next_offset = offset + section.data.size();
    }
  }
  return bytes;
}

// Writes bytes gzip-compressed to a device path of the root.
inline void WriteGzipFile(const TempDeviceRoot& root, const std::string& device_path,
                          const std::string& bytes) {
  root.Write(device_path, "");
  gzFile file = gzopen(root.Host(device_path).c_str(), "wb");
  if (file == nullptr)
    return;
  gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size()));
  gzclose(file);
}

}  // namespace marrowleaf::test
