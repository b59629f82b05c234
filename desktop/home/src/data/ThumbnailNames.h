#pragma once

#include <string>

namespace marrowleaf::desktop {

// Names of cover thumbnails inside the cache "desktop". A name starts with the storage the book is
// on, so that the same folder on two memory cards or USB drives gives two names:
//   "/mnt/ext1..." -> "1", "/mnt/ext2..." -> the card's serial number in decimal,
//   "/mnt/ext3..." -> "USB_" + the drive's serial number, or "USB_noserial";
// then "/" + the fast hash in hexadecimal when there is one, else the path after the storage root;
// then "_<w>x<h>.png". Books on any other path have no thumbnail ("").
class ThumbnailNames {
 public:
  static std::string Make(const std::string& path, const std::string& fast_hash, int width,
                          int height);
  // The storage part of the name ("" for a path outside the three storages).
  static std::string StoragePrefix(const std::string& path);

  static constexpr size_t kRootLength = 9;  // "/mnt/extN"
};

}  // namespace marrowleaf::desktop
