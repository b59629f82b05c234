#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace marrowleaf::utilities {

// The common IEEE CRC-32 (zlib's crc32) of a text's bytes. The store service names its offers by
// this hash of their links, so both sides must compute the same variant.
uint32_t crc32hash(const std::string& text);
// The same of `size` bytes in memory.
uint32_t crc32hash(const void* data, size_t size);

}  // namespace marrowleaf::utilities
