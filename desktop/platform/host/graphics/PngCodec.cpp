#include "PngCodec.h"

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <vector>

#include "DeflatePng.h"
#include "PixelMath.h"
#include "SmartBitmapAccess.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {

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

// The error pointer names what failed ("decoded" or "encoded") for the log line.
void OnPngError(png_structp png, png_const_charp message) {
  MW_LOG(MW_LOG_WARNING, "PNG not %s: %s", static_cast<const char*>(png_get_error_ptr(png)),
         message);
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

char kDecodedWord[] = "decoded";
char kEncodedWord[] = "encoded";

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

// 8-bit grey or RGB files without transparency, which is what this device's own thumbnails are,
// are read a row at a time and widened here into finished pixels: that is several times faster
// than libpng's transforms followed by a pass over the whole bitmap.
bool IsPlainOpaque(png_structp png, png_infop info) {
  const int type = png_get_color_type(png, info);
  return (type == PNG_COLOR_TYPE_GRAY || type == PNG_COLOR_TYPE_RGB) &&
         png_get_bit_depth(png, info) == 8 &&
         png_get_interlace_type(png, info) == PNG_INTERLACE_NONE &&
         !png_get_valid(png, info, PNG_INFO_tRNS);
}

void WidenGreyRow(const png_byte* row, int width, uint32_t* target) {
  for (int x = 0; x < width; ++x) target[x] = 0xFF000000u | row[x] * 0x010101u;
}

void WidenRgbRow(const png_byte* row, int width, bool grey, uint32_t* target) {
  for (int x = 0; x < width; ++x, row += 3) {
    const uint32_t pixel = PixelMath::Pack(0xFF, row[0], row[1], row[2]);
    target[x] = grey ? PixelMath::ToGrey(pixel) : pixel;
  }
}

void ReadPlainOpaque(png_structp png, png_infop info, int format, SmartBitmap* bitmap,
                     std::vector<png_byte>* row) {
  const bool rgb = png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB;
  const bool grey = format != SMART_BITMAP_COLOR;
  const int width = bitmap->Width();
  const int height = bitmap->Height();
  uint32_t* target = bitmap->MutableData();
  row->resize(static_cast<size_t>(width) * (rgb ? 3 : 1));
  for (int y = 0; y < height; ++y, target += width) {
    png_read_row(png, row->data(), nullptr);
    if (rgb)
      WidenRgbRow(row->data(), width, grey, target);
    else
      WidenGreyRow(row->data(), width, target);
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

// A bitmap of the plain rows the deflate reader gave.
SmartBitmap Widened(const DeflatePng::Image& image, int format) {
  SmartBitmap bitmap = SmartBitmapAccess::Allocate(image.width, image.height);
  if (bitmap.IsEmpty())
    return bitmap;
  const bool grey = format != SMART_BITMAP_COLOR;
  const size_t stride = static_cast<size_t>(image.width) * image.components;
  uint32_t* target = bitmap.MutableData();
  for (int y = 0; y < image.height; ++y, target += image.width) {
    const uint8_t* row = image.rows.data() + static_cast<size_t>(y) * stride;
    if (image.components == 3)
      WidenRgbRow(row, image.width, grey, target);
    else
      WidenGreyRow(row, image.width, target);
  }
  return bitmap;
}

// What DecodeWith gave.
enum class DecodeResult { kFailed, kFinished, kNeedsFinishing };

// Decodes into *bitmap. Everything with a destructor lives in the caller, so libpng's jump back
// to the setjmp below skips none.
DecodeResult DecodeWith(png_structp png, png_infop info, int format, SmartBitmap* bitmap,
                        std::vector<png_bytep>* rows, std::vector<png_byte>* row) {
  if (setjmp(png_jmpbuf(png)))
    return DecodeResult::kFailed;
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  if (!SmartBitmapAccess::SizeAllowed(width, height)) {
    MW_LOG(MW_LOG_WARNING, "PNG refused: %ux%u is above the image size cap", width, height);
    return DecodeResult::kFailed;
  }
  *bitmap = SmartBitmapAccess::Allocate(static_cast<int>(width), static_cast<int>(height));
  if (bitmap->IsEmpty())
    return DecodeResult::kFailed;
  const bool plain = IsPlainOpaque(png, info);
  if (plain)
    ReadPlainOpaque(png, info, format, bitmap, row);
  else
    ReadAnyLayout(png, info, bitmap, rows);
  png_read_end(png, nullptr);
  return plain ? DecodeResult::kFinished : DecodeResult::kNeedsFinishing;
}

}  // namespace

SmartBitmap PngCodec::Decode(const std::string& bytes, int format) {
  if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8)) {
    MW_LOG(MW_LOG_WARNING, "PNG not decoded: Not a PNG file");
    return SmartBitmap();
  }
  DeflatePng::Image image;
  switch (DeflatePng::Decode(bytes, &SmartBitmapAccess::SizeAllowed, &image)) {
    case DeflatePng::Result::kDecoded:
      return Widened(image, format);
    case DeflatePng::Result::kDamaged:
      MW_LOG(MW_LOG_WARNING, "PNG not decoded: damaged data");
      return SmartBitmap();
    case DeflatePng::Result::kNotPlain:
      break;
  }
  png_structp png =
      png_create_read_struct(PNG_LIBPNG_VER_STRING, kDecodedWord, OnPngError, OnPngWarning);
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
  const DecodeResult result = DecodeWith(png, info, format, &bitmap, &rows, &row);
  png_destroy_read_struct(&png, &info, nullptr);
  if (result == DecodeResult::kFailed)
    return SmartBitmap();
  if (result == DecodeResult::kNeedsFinishing)
    SmartBitmapAccess::FinishDecoded(bitmap, format);
  return bitmap;
}

namespace {

// How a bitmap is stored: grey bitmaps (covers made for e-ink panels) as one byte a pixel, which
// also makes them three times faster to load; other opaque ones (screenshots, colour covers) as
// RGB; the rest with their alpha channel.
enum class PngLayout { kGrey, kRgb, kRgba };

// Without a branch per pixel, so that the compiler can vectorise the pass: the pictures written
// here are thumbnails, opaque and on grey panels grey, so stopping early would rarely pay.
PngLayout LayoutFor(const SmartBitmap& bitmap) {
  const uint32_t* pixel = bitmap.Data();
  const uint32_t* const end = pixel + static_cast<size_t>(bitmap.Width()) * bitmap.Height();
  uint32_t alpha = 0xFF;
  uint32_t colour = 0;  // non-zero once a pixel's red or green differs from its blue
  for (; pixel != end; ++pixel) {
    const uint32_t value = *pixel;
    alpha &= value >> 24;
    colour |= ((value >> 16) ^ value) | ((value >> 8) ^ value);
  }
  if (alpha != 0xFF)
    return PngLayout::kRgba;
  return (colour & 0xFF) == 0 ? PngLayout::kGrey : PngLayout::kRgb;
}

int Components(PngLayout layout) {
  return layout == PngLayout::kGrey ? 1 : (layout == PngLayout::kRgb ? 3 : 4);
}

int ColorType(PngLayout layout) {
  return layout == PngLayout::kGrey
             ? PNG_COLOR_TYPE_GRAY
             : (layout == PngLayout::kRgb ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA);
}

// One row of the bitmap in the file's byte order (straight, not premultiplied, alpha).
void FillRow(const uint32_t* pixels, int width, PngLayout layout, png_byte* out) {
  for (int x = 0; x < width; ++x) {
    if (layout == PngLayout::kGrey) {
      *out++ = static_cast<png_byte>(PixelMath::Blue(pixels[x]));
      continue;
    }
    const uint32_t pixel = PixelMath::Unpremultiply(pixels[x]);
    *out++ = static_cast<png_byte>(PixelMath::Red(pixel));
    *out++ = static_cast<png_byte>(PixelMath::Green(pixel));
    *out++ = static_cast<png_byte>(PixelMath::Blue(pixel));
    if (layout == PngLayout::kRgba)
      *out++ = static_cast<png_byte>(PixelMath::Alpha(pixel));
  }
}

// Opaque bitmaps, the covers, go through the faster deflate writer.
std::string EncodeOpaque(const SmartBitmap& bitmap, PngLayout layout) {
  DeflatePng::Image image;
  image.width = bitmap.Width();
  image.height = bitmap.Height();
  image.components = Components(layout);
  const size_t stride = static_cast<size_t>(image.width) * image.components;
  image.rows.resize(stride * static_cast<size_t>(image.height));
  const uint32_t* pixels = bitmap.Data();
  for (int y = 0; y < image.height; ++y, pixels += image.width)
    FillRow(pixels, image.width, layout, image.rows.data() + static_cast<size_t>(y) * stride);
  return DeflatePng::Encode(image);
}

void AppendToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))
      ->append(reinterpret_cast<const char*>(data), length);
}

void FlushNothing(png_structp) {}

// Thumbnails are written while the user waits for a cover, so speed beats the last few percent of
// size: the "up" filter alone (the cheapest to undo when reading, and good on pictures whose
// rows resemble each other) and zlib's fastest level with run-length matching, which compresses
// filtered photographs about as well as the default search at a fifth of the time.
void ChooseFastCompression(png_structp png) {
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_UP);
  png_set_compression_level(png, 1);
  png_set_compression_strategy(png, Z_RLE);
  png_set_compression_buffer_size(png, 64 * 1024);
}

// Encodes into *out; false after an error. As with decoding, the caller owns everything with a
// destructor.
bool EncodeWith(png_structp png, png_infop info, const SmartBitmap& bitmap, PngLayout layout,
                std::vector<png_byte>* row) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  const int width = bitmap.Width();
  png_set_IHDR(png, info, static_cast<png_uint_32>(width),
               static_cast<png_uint_32>(bitmap.Height()), 8, ColorType(layout), PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  ChooseFastCompression(png);
  png_write_info(png, info);
  row->resize(static_cast<size_t>(width) * static_cast<size_t>(Components(layout)));
  const uint32_t* pixels = bitmap.Data();
  for (int y = 0; y < bitmap.Height(); ++y, pixels += width) {
    FillRow(pixels, width, layout, row->data());
    png_write_row(png, row->data());
  }
  png_write_end(png, nullptr);
  return true;
}

}  // namespace

std::string PngCodec::Encode(const SmartBitmap& bitmap) {
  if (bitmap.IsEmpty())
    return std::string();
  const PngLayout layout = LayoutFor(bitmap);
  if (layout != PngLayout::kRgba)
    return EncodeOpaque(bitmap, layout);
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, kEncodedWord, OnPngError, OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return std::string();
  }
  std::string bytes;
  bytes.reserve(static_cast<size_t>(bitmap.Width()) * bitmap.Height() *
                static_cast<size_t>(Components(layout)) / 2);
  png_set_write_fn(png, &bytes, AppendToString, FlushNothing);
  std::vector<png_byte> row;
  const bool encoded = EncodeWith(png, info, bitmap, layout, &row);
  png_destroy_write_struct(&png, &info);
  return encoded ? bytes : std::string();
}

}  // namespace marrowleaf::platform
