// The theme image store is a file on the user's storage: whatever it holds, reading it gives the
// images it was written with or nothing, within the caps, and what was read writes back the same.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

#include "ThemeImageStore.h"

using marrowleaf::platform::ThemeImageStore;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::map<std::string, ThemeImageStore::Stored> images;
  if (!ThemeImageStore::Decode(bytes, "ctx", &images)) {
    if (!images.empty())
      __builtin_trap();
    return 0;
  }
  if (images.size() > ThemeImageStore::kMaxImages)
    __builtin_trap();
  std::map<std::string, ThemeImageStore::Stored> again;
  if (!ThemeImageStore::Decode(ThemeImageStore::Encode("ctx", images), "ctx", &again) ||
      again.size() != images.size())
    __builtin_trap();
  for (const auto& [name, stored] : images) {
    const SmartBitmap& image = again[name].image;
    if (again[name].signature != stored.signature || image.Width() != stored.image.Width() ||
        image.Height() != stored.image.Height())
      __builtin_trap();
  }
  return 0;
}
