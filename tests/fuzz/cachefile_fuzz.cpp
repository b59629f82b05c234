// Loads arbitrary bytes as the home-screen cache file and checks what the loader promises: never
// more than fifty items, and only books that exist (id > 0), at most one for a single book and
// three for a group.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/HomeCache.h"
#include "platform/sdk/files.h"

using marrowleaf::desktop::HomeCache;
using marrowleaf::desktop::Items;

namespace {

// One device root for the whole run, made on the first input.
const std::string& Root() {
  static const std::string root = [] {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "marrowleaf-cachefile-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
      std::abort();
    setenv("MARROWLEAF_ROOT", pattern.c_str(), 1);
    ReloadDeviceRoot();
    std::filesystem::create_directories(pattern + "/mnt/ext1/system/cache/desktop");
    return pattern;
  }();
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  {
    std::ofstream out(Root() + HomeCache::kPath, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const Items items = HomeCache::Load();
  if (items.size() > static_cast<size_t>(HomeCache::kMaxItems))
    std::abort();
  for (const auto& item : items) {
    if (!item || item->type_ == 0)
      std::abort();
    const size_t limit = item->type_ == 5 ? 3 : (item->type_ == 1 || item->type_ == 2 ? 1 : 0);
    if (item->books_.size() > limit)
      std::abort();
    for (const auto& book : item->books_) {
      if (!book || book->id <= 0 || !book->settings)
        std::abort();
    }
  }
  return 0;
}
