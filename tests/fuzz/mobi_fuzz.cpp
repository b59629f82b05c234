// MOBI and AZW3 books as they come: record tables and EXTH blocks with any offsets.
#include <cstddef>
#include <cstdint>
#include <string>

#include "MobiCover.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string picture;
  std::string title;
  marrowleaf::platform::MobiCover::Extract(std::string(reinterpret_cast<const char*>(data), size),
                                           &picture, &title);
  return 0;
}
