#pragma once

#include <string>

#include "CoverLimits.h"
#include "ZipReader.h"

namespace marrowleaf::platform {

// The cover of a comic book archive: its first JPEG or PNG picture in name order.
class CbzCover {
 public:
  static bool Extract(ZipReader& zip, const CoverDeadline& deadline, std::string* image);
  // The name of the picture taken ("" when the archive has none).
  static std::string FirstPictureName(const ZipReader& zip);
};

}  // namespace marrowleaf::platform
