// FB2 books as they come: XML with base64 binaries.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Fb2Cover.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string picture;
  std::string title;
  std::string author;
  marrowleaf::platform::Fb2Cover::Extract(std::string(reinterpret_cast<const char*>(data), size),
                                          &picture, &title, &author);
  return 0;
}
