// Cover files and theme images come from storages and downloads: the decoders must turn any bytes
// into a bitmap or an empty one, within the size caps, and the helpers must cope with whatever
// bitmap comes out.
#include <cstddef>
#include <cstdint>
#include <string>

#include "SvgRenderer.h"
#include "platform/utils/BitmapUtils.h"
#include "platform/utils/CoverLoader.h"
#include "platform/utils/SmartBitmap.h"

namespace {

bool StartsWith(const std::string& bytes, const char* magic, size_t length) {
  return bytes.size() >= length && bytes.compare(0, length, magic, length) == 0;
}

SmartBitmap Decode(const std::string& bytes) {
  if (StartsWith(bytes, "\x89PNG", 4))
    return SmartBitmap::DecodePNG(bytes, SMART_BITMAP_COLOR);
  if (StartsWith(bytes, "\xff\xd8", 2)) {
    // Every other input asks for a reduced decode, as covers do.
    const int target = bytes.size() % 2 == 0 ? 40 : -1;
    return SmartBitmap::DecodeJPEG(bytes, SMART_BITMAP_GREY, target, target);
  }
  return marrowleaf::platform::SvgRenderer::Render(bytes, 212, SMART_BITMAP_GREY);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  SmartBitmap bitmap = Decode(bytes);
  if (bitmap.IsEmpty())
    return 0;
  if (bitmap.Width() > SmartBitmap::kMaxSide || bitmap.Height() > SmartBitmap::kMaxSide)
    __builtin_trap();
  FindAverageBitmapColor(bitmap, BITMAP_BAND_BOTTOM, 7);
  SmartBitmap small = CoverLoader::stretchBitmapOpenCv(bitmap, 31, 47, 1);
  adjustBitmapDefault(small);
  MirrorBitmap(small, MIRROR_HORIZONTAL);
  SmartBitmap::DecodePNG(pk_copy_inv_bitmap(small).EncodePNG(), SMART_BITMAP_COLOR);
  return 0;
}
