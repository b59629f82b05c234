#include "platform/utils/Crc32Hash.h"

#include <zlib.h>

namespace marrowleaf::utilities {

uint32_t crc32hash(const std::string& text) {
  return crc32hash(text.data(), text.size());
}

uint32_t crc32hash(const void* data, size_t size) {
  uLong crc = crc32(0L, Z_NULL, 0);
  // zlib takes at most a uInt of bytes a call.
  const Bytef* bytes = static_cast<const Bytef*>(data);
  size_t left = size;
  while (left > 0) {
    const uInt chunk = left > 0x40000000u ? 0x40000000u : static_cast<uInt>(left);
    crc = crc32(crc, bytes, chunk);
    bytes += chunk;
    left -= chunk;
  }
  return static_cast<uint32_t>(crc);
}

}  // namespace marrowleaf::utilities
