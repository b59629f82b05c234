// The library's cover store, looked up by fast hash or resource id.
#include <string>

#include "CoverLimits.h"
#include "PictureDecoder.h"
#include "platform/sdk/covers.h"
#include "platform/sdk/files.h"
#include "platform/utils/CoverLoader.h"
#include "platform/utils/SerializationUtils.h"

namespace {

using marrowleaf::platform::CoverLimits;
using marrowleaf::platform::PictureDecoder;

SmartBitmap LoadStored(const std::string& id, int width, int height) {
  if (id.empty() || id.size() > 256)
    return SmartBitmap();
  const std::string base =
      std::string(kLibraryCoverStore) + marrowleaf::utilities::SerializationUtils::ToHex(id);
  for (const char* extension : {".jpg", ".png"}) {
    std::string bytes;
    bool truncated = false;
    if (!ReadFileCapped(base + extension, CoverLimits::kMaxImageBytes, &bytes, &truncated) ||
        truncated) {
      continue;
    }
    SmartBitmap bitmap =
        PictureDecoder::Decode(bytes, SmartBitmapFormatForDisplay(), width, height);
    if (!bitmap.IsEmpty())
      return bitmap;
  }
  return SmartBitmap();
}

}  // namespace

bool LoadCoverByHashOrResourceId(const std::string& fast_hash, int /*kind*/,
                                 const std::string& resource_id, int width, int height,
                                 int /*flags*/, SmartBitmap& bitmap, bool /*only_cached*/) {
  SmartBitmap found = LoadStored(fast_hash, width, height);
  if (found.IsEmpty())
    found = LoadStored(resource_id, width, height);
  if (found.IsEmpty())
    return false;
  if (width > 0 && height > 0 && (found.Width() != width || found.Height() != height))
    found = CoverLoader::stretchBitmapOpenCv(found, width, height, 1);
  bitmap = found;
  return !bitmap.IsEmpty();
}
