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

// This device's own thumbnails, 8-bit grey or RGB without transparency, come from the deflate
// reader as plain rows and are widened here into finished pixels: several times faster than
// libpng's transforms followed by a pass over the whole bitmap.
void WidenGreyRow(const png_byte* row, int width, uint32_t* target) {
  for (int x = 0; x < width; ++x) target[x] = 0xFF000000u | row[x] * 0x010101u;
}

void WidenRgbRow(const png_byte* row, int width, bool grey, uint32_t* target) {
  for (int x = 0; x < width; ++x, row += 3) {
    const uint32_t pixel = PixelMath::Pack(0xFF, row[0], row[1], row[2]);
    target[x] = grey ? PixelMath::ToGrey(pixel) : pixel;
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

// Decodes into *bitmap the files the deflate reader leaves to libpng (other depths, palettes,
// transparency, interlacing), as straight BGRA to be finished by the caller; false on failure.
// Everything with a destructor lives in the caller, so libpng's jump back to the setjmp below
// skips none.
bool DecodeWith(png_structp png, png_infop info, SmartBitmap* bitmap,
                std::vector<png_bytep>* rows) {
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
  ReadAnyLayout(png, info, bitmap, rows);
  png_read_end(png, nullptr);
  return true;
}

// Covers are stored with the panel's tone adjustment already in their pixels, so that loading them
// skips it. This private chunk says so; PNG readers pass over chunks they don't know, and one
// that changes the pixels drops it (the fourth letter's case marks it unsafe to copy). Its byte is
// the adjustment's version: a file of another version is adjusted again like any picture.
constexpr char kToneMarkType[] = "toNE";
constexpr char kToneMarkVersion = '1';
constexpr size_t kHeaderEnd = 8 + 25;  // signature and IHDR, which comes first

void InsertToneMark(std::string* png) {
  png->insert(kHeaderEnd, DeflatePng::Chunk(kToneMarkType, std::string(1, kToneMarkVersion)));
}

bool HasToneMark(const std::string& bytes) {
  std::string data;
  return DeflatePng::FindChunk(bytes, kToneMarkType, &data) &&
         data == std::string(1, kToneMarkVersion);
}

// The bitmap of a file that passed the signature check.
SmartBitmap DecodeSigned(const std::string& bytes, int format) {
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
  const bool decoded = DecodeWith(png, info, &bitmap, &rows);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!decoded)
    return SmartBitmap();
  SmartBitmapAccess::FinishDecoded(bitmap, format);
  return bitmap;
}

}  // namespace

SmartBitmap PngCodec::Decode(const std::string& bytes, int format) {
  if (bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8)) {
    MW_LOG(MW_LOG_WARNING, "PNG not decoded: Not a PNG file");
    return SmartBitmap();
  }
  SmartBitmap bitmap = DecodeSigned(bytes, format);
  if (!bitmap.IsEmpty() && HasToneMark(bytes))
    SmartBitmapAccess::MarkTonesAdjusted(bitmap);
  return bitmap;
}

namespace {

// How a bitmap is stored: grey bitmaps (covers made for e-ink panels) as one byte a pixel, which
// also makes them three times faster to load; other opaque ones (screenshots, colour covers) as
// RGB; the rest with their alpha channel. The first two go through the faster deflate writer.

// One row of the bitmap in the file's byte order, RGB or RGBA (straight, not premultiplied, alpha).
void FillRow(const uint32_t* pixels, int width, bool with_alpha, png_byte* out) {
  for (int x = 0; x < width; ++x) {
    const uint32_t pixel = PixelMath::Unpremultiply(pixels[x]);
    *out++ = static_cast<png_byte>(PixelMath::Red(pixel));
    *out++ = static_cast<png_byte>(PixelMath::Green(pixel));
    *out++ = static_cast<png_byte>(PixelMath::Blue(pixel));
    if (with_alpha)
      *out++ = static_cast<png_byte>(PixelMath::Alpha(pixel));
  }
}

// Writes one grey row with the "up" filter (prior is the bitmap row above, zeros for the first)
// and tells whether every pixel was opaque grey. Branch-free, so that the compiler can vectorise
// it: the thumbnails written on grey panels are all grey.
bool FilterGreyRow(const uint32_t* row, const uint32_t* prior, int width, uint8_t* __restrict out) {
  uint32_t differs = 0;
  for (int x = 0; x < width; ++x) {
    const uint32_t value = row[x];
    differs |= value ^ (0xFF000000u | (value & 0xFFu) * 0x010101u);
    out[x] = static_cast<uint8_t>(value - prior[x]);
  }
  return differs == 0;
}

bool AllOpaque(const SmartBitmap& bitmap) {
  const uint32_t* pixel = bitmap.Data();
  const uint32_t* const end = pixel + static_cast<size_t>(bitmap.Width()) * bitmap.Height();
  uint32_t alpha = 0xFF;
  for (; pixel != end; ++pixel) alpha &= *pixel >> 24;
  return alpha == 0xFF;
}

// The file's rows, each with its filter byte, when every pixel is opaque grey (one pass over the
// pixels, the usual case on grey panels); nullptr otherwise.
std::unique_ptr<uint8_t[]> FilteredGreyRows(const SmartBitmap& bitmap) {
  const int width = bitmap.Width();
  const size_t stride = static_cast<size_t>(width) + 1;
  std::unique_ptr<uint8_t[]> rows(new uint8_t[stride * bitmap.Height()]);
  const std::vector<uint32_t> zeros(static_cast<size_t>(width), 0);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const uint32_t* row = bitmap.Data() + static_cast<size_t>(y) * width;
    uint8_t* out = rows.get() + static_cast<size_t>(y) * stride;
    out[0] = DeflatePng::kUpFilter;
    if (!FilterGreyRow(row, y > 0 ? row - width : zeros.data(), width, out + 1))
      return nullptr;
  }
  return rows;
}

// An opaque bitmap as RGB rows for the deflate writer.
DeflatePng::Image RgbImage(const SmartBitmap& bitmap) {
  DeflatePng::Image image;
  image.width = bitmap.Width();
  image.height = bitmap.Height();
  image.components = 3;
  const size_t stride = static_cast<size_t>(image.width) * 3;
  image.rows.resize(stride * image.height);
  for (int y = 0; y < image.height; ++y)
    FillRow(bitmap.Data() + static_cast<size_t>(y) * image.width, image.width, false,
            image.rows.data() + static_cast<size_t>(y) * stride);
  return image;
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

// Encodes as RGBA through the write function set on png; false after an error. As with decoding,
// the caller owns everything with a destructor.
bool EncodeWith(png_structp png, png_infop info, const SmartBitmap& bitmap,
                std::vector<png_byte>* row) {
  if (setjmp(png_jmpbuf(png)))
    return false;
  const int width = bitmap.Width();
  png_set_IHDR(png, info, static_cast<png_uint_32>(width),
               static_cast<png_uint_32>(bitmap.Height()), 8, PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE, PNG_FILTER_TYPE_BASE);
  ChooseFastCompression(png);
  png_write_info(png, info);
  row->resize(static_cast<size_t>(width) * 4);
  const uint32_t* pixels = bitmap.Data();
  for (int y = 0; y < bitmap.Height(); ++y, pixels += width) {
    FillRow(pixels, width, true, row->data());
    png_write_row(png, row->data());
  }
  png_write_end(png, nullptr);
  return true;
}

std::string EncodeWithAlpha(const SmartBitmap& bitmap) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, kEncodedWord, OnPngError, OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return std::string();
  }
  std::string bytes;
  bytes.reserve(static_cast<size_t>(bitmap.Width()) * bitmap.Height() * 2);
  png_set_write_fn(png, &bytes, AppendToString, FlushNothing);
  std::vector<png_byte> row;
  const bool encoded = EncodeWith(png, info, bitmap, &row);
  png_destroy_write_struct(&png, &info);
  return encoded ? bytes : std::string();
}

}  // namespace

std::string PngCodec::Encode(const SmartBitmap& bitmap) {
  if (bitmap.IsEmpty())
    return std::string();
  // Opaque bitmaps, the covers, go through the faster deflate writer.
  std::string png;
  if (const std::unique_ptr<uint8_t[]> grey = FilteredGreyRows(bitmap))
    png = DeflatePng::EncodeFiltered(bitmap.Width(), bitmap.Height(), 1, grey.get());
  else if (AllOpaque(bitmap))
    png = DeflatePng::Encode(RgbImage(bitmap));
  else
    png = EncodeWithAlpha(bitmap);
  if (!png.empty() && SmartBitmapAccess::TonesAdjusted(bitmap))
    InsertToneMark(&png);
  return png;
}

}  // namespace marrowleaf::platform
