#include "PngCodec.h"

#include <png.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "PixelMath.h"
#include "SmartBitmapAccess.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {

namespace {

// Frees libpng's state on every way out of Decode.
class PngImage {
 public:
  PngImage() {
    std::memset(&image_, 0, sizeof(image_));
    image_.version = PNG_IMAGE_VERSION;
  }
  ~PngImage() { png_image_free(&image_); }
  PngImage(const PngImage&) = delete;
  PngImage& operator=(const PngImage&) = delete;
  png_image* operator->() { return &image_; }
  png_image* get() { return &image_; }

 private:
  png_image image_;
};

}  // namespace

namespace {

// Bytes in memory as libpng's input.
struct MemoryInput {
  const std::string* bytes;
  size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep target, png_size_t length) {
  auto* input = static_cast<MemoryInput*>(png_get_io_ptr(png));
  if (length > input->bytes->size() - input->offset)
    png_error(png, "read beyond end of data");
  std::memcpy(target, input->bytes->data() + input->offset, length);
  input->offset += length;
}

void OnPngError(png_structp png, png_const_charp message) {
  MW_LOG(MW_LOG_WARNING, "PNG not decoded: %s", message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Asks libpng for 8-bit BGRA rows (0xAARRGGBB words) whatever the file holds.
void RequestBgra(png_structp png, png_infop info) {
  png_set_expand(png);
  png_set_strip_16(png);
  if (!(png_get_color_type(png, info) & PNG_COLOR_MASK_COLOR))
    png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
}

// 8-bit grey files without transparency are what this device's own thumbnails are; they are read
// a row at a time and widened here, which is several times faster than libpng's transforms.
bool IsPlainGrey(png_structp png, png_infop info) {
  return png_get_color_type(png, info) == PNG_COLOR_TYPE_GRAY &&
         png_get_bit_depth(png, info) == 8 &&
         png_get_interlace_type(png, info) == PNG_INTERLACE_NONE &&
         !png_get_valid(png, info, PNG_INFO_tRNS);
}

void ReadPlainGrey(png_structp png, SmartBitmap* bitmap, std::vector<png_byte>* row) {
  row->resize(static_cast<size_t>(bitmap->Width()));
  for (int y = 0; y < bitmap->Height(); ++y) {
    png_read_row(png, row->data(), nullptr);
    uint32_t* target = bitmap->MutableData() + static_cast<size_t>(y) * bitmap->Width();
    for (int x = 0; x < bitmap->Width(); ++x)
      target[x] = 0xFF000000u | (*row)[static_cast<size_t>(x)] * 0x010101u;
  }
}

void ReadAnyLayout(png_structp png, png_infop info, SmartBitmap* bitmap,
                   std::vector<png_bytep>* rows) {
  RequestBgra(png, info);
  rows->resize(static_cast<size_t>(bitmap->Height()));
  for (int y = 0; y < bitmap->Height(); ++y)
    (*rows)[static_cast<size_t>(y)] = reinterpret_cast<png_bytep>(
        bitmap->MutableData() + static_cast<size_t>(y) * bitmap->Width());
  png_read_image(png, rows->data());
}

// Decodes into *bitmap; false after an error. Everything with a destructor lives in the caller,
// so libpng's jump back to the setjmp below skips none.
bool DecodeWith(png_structp png, png_infop info, SmartBitmap* bitmap, std::vector<png_bytep>* rows,
                std::vector<png_byte>* row) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!SmartBitmapAccess::SizeAllowed(width, height)) {
    MW_LOG(MW_LOG_WARNING, "PNG refused: %ux%u is above the image size cap", width, height);
    return false;
  }
  *bitmap = SmartBitmapAccess::Allocate(static_cast<int>(width), static_cast<int>(height));
  if (bitmap->IsEmpty())
    return false;
  if (IsPlainGrey(png, info))
    ReadPlainGrey(png, bitmap, row);
  else
    ReadAnyLayout(png, info, bitmap, rows);
  png_read_end(png, nullptr);
  return true;
}

}  // namespace

SmartBitmap PngCodec::Decode(const std::string& bytes, int format) {
  if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8)) {
    MW_LOG(MW_LOG_WARNING, "PNG not decoded: Not a PNG file");
    return SmartBitmap();
  }
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return SmartBitmap();
  }
  MemoryInput input{&bytes, 0};
  png_set_read_fn(png, &input, ReadFromMemory);
  // Cover files are checked for size before their pixels; this also bounds ancillary chunks.
  png_set_chunk_malloc_max(png, 8u * 1024 * 1024);
  // Chunk CRCs already guard the data; zlib's own checksum adds nothing but time.
  png_set_option(png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
  SmartBitmap bitmap;
  std::vector<png_bytep> rows;
  std::vector<png_byte> row;
  const bool decoded = DecodeWith(png, info, &bitmap, &rows, &row);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!decoded)
    return SmartBitmap();
  SmartBitmapAccess::FinishDecoded(bitmap, format);
  return bitmap;
}

namespace {

// How a bitmap is stored: grey bitmaps (covers made for e-ink panels) as one byte a pixel, which
// also makes them three times faster to load; other opaque ones (screenshots, colour covers) as
// BGR; the rest with their alpha channel.
enum class PngLayout { kGrey, kBgr, kBgra };

PngLayout LayoutFor(const SmartBitmap& bitmap) {
  if (!bitmap.IsOpaque())
    return PngLayout::kBgra;
  const uint32_t* pixel = bitmap.Data();
  const uint32_t* const end = pixel + static_cast<size_t>(bitmap.Width()) * bitmap.Height();
  const bool grey = std::all_of(pixel, end, [](uint32_t value) {
    return PixelMath::Red(value) == PixelMath::Blue(value) &&
           PixelMath::Green(value) == PixelMath::Blue(value);
  });
  return grey ? PngLayout::kGrey : PngLayout::kBgr;
}

int Components(PngLayout layout) {
  return layout == PngLayout::kGrey ? 1 : (layout == PngLayout::kBgr ? 3 : 4);
}

std::vector<uint8_t> EncoderInput(const SmartBitmap& bitmap, PngLayout layout) {
  const size_t count = static_cast<size_t>(bitmap.Width()) * bitmap.Height();
  std::vector<uint8_t> bytes(count * static_cast<size_t>(Components(layout)));
  uint8_t* out = bytes.data();
  for (size_t i = 0; i < count; ++i) {
    const uint32_t pixel = PixelMath::Unpremultiply(bitmap.Data()[i]);
    *out++ = static_cast<uint8_t>(PixelMath::Blue(pixel));
    if (layout == PngLayout::kGrey)
      continue;
    *out++ = static_cast<uint8_t>(PixelMath::Green(pixel));
    *out++ = static_cast<uint8_t>(PixelMath::Red(pixel));
    if (layout == PngLayout::kBgra)
      *out++ = static_cast<uint8_t>(PixelMath::Alpha(pixel));
  }
  return bytes;
}

}  // namespace

std::string PngCodec::Encode(const SmartBitmap& bitmap) {
  if (bitmap.IsEmpty())
    return std::string();
  const PngLayout layout = LayoutFor(bitmap);
  const std::vector<uint8_t> input = EncoderInput(bitmap, layout);
  PngImage image;
  image->width = static_cast<png_uint_32>(bitmap.Width());
  image->height = static_cast<png_uint_32>(bitmap.Height());
  image->format = layout == PngLayout::kGrey
                      ? PNG_FORMAT_GRAY
                      : (layout == PngLayout::kBgr ? PNG_FORMAT_BGR : PNG_FORMAT_BGRA);
  const png_int_32 row_stride = bitmap.Width() * Components(layout);
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(*image.get(), size, 0, input.data(), row_stride, nullptr)) {
    MW_LOG(MW_LOG_WARNING, "PNG not encoded: %s", image->message);
    return std::string();
  }
  std::string bytes(size, '\0');
  if (!png_image_write_to_memory(image.get(), bytes.data(), &size, 0, input.data(), row_stride,
                                 nullptr)) {
    MW_LOG(MW_LOG_WARNING, "PNG not encoded: %s", image->message);
    return std::string();
  }
  bytes.resize(size);
  return bytes;
}

}  // namespace marrowleaf::platform
