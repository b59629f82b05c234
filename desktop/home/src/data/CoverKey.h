#pragma once

#include <string>

namespace marrowleaf::desktop {

// The key under which a cover is remembered in memory: the book path, the fast hash and the
// resource id (raw bytes) and the size, joined by "_" ("<path>_<hash>_<id>_<w>x<h>"). Store covers
// and background colours use keys built the same way from their own inputs.
class CoverKey {
 public:
  static std::string Make(const std::string& path, const std::string& fast_hash,
                          const std::string& resource_id, int width, int height);
  // The key of a background colour: the cover's key and the band.
  static std::string ForColor(const std::string& cover_key, int band);
};

}  // namespace marrowleaf::desktop
