// EPUB archives as they come: any bytes through the archive reader and the package parser.
#include <cstddef>
#include <cstdint>
#include <string>

#include "EpubCover.h"
#include "ZipReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using marrowleaf::platform::CoverDeadline;
  std::unique_ptr<marrowleaf::platform::ZipReader> zip = marrowleaf::platform::ZipReader::OpenBytes(
      std::string(reinterpret_cast<const char*>(data), size));
  if (!zip)
    return 0;
  std::string picture;
  std::string title;
  std::string author;
  marrowleaf::platform::EpubCover::Extract(*zip, CoverDeadline(), &picture, &title, &author);
  marrowleaf::platform::EpubCover::ExtractFirstPage(*zip, CoverDeadline(), &picture);
  return 0;
}
