#include "data/CoverKey.h"

namespace marrowleaf::desktop {

std::string CoverKey::Make(const std::string& path, const std::string& fast_hash,
                           const std::string& resource_id, int width, int height) {
  return path + "_" + fast_hash + "_" + resource_id + "_" + std::to_string(width) + "x" +
         std::to_string(height);
}

std::string CoverKey::ForColor(const std::string& cover_key, int band) {
  return cover_key + "_" + std::to_string(band);
}

}  // namespace marrowleaf::desktop
