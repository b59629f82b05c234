// Comic book archives as they come.
#include <cstddef>
#include <cstdint>
#include <string>

#include "CbzCover.h"
#include "ZipReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::unique_ptr<marrowleaf::platform::ZipReader> zip = marrowleaf::platform::ZipReader::OpenBytes(
      std::string(reinterpret_cast<const char*>(data), size));
  if (!zip)
    return 0;
  std::string picture;
  marrowleaf::platform::CbzCover::Extract(*zip, marrowleaf::platform::CoverDeadline(), &picture);
  return 0;
}
