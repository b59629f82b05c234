#include "DeflatePng.h"

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace marrowleaf::platform {
namespace {

const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
constexpr int kUpFilter = 2;
// Fastest level: thumbnails are written while the user waits for a cover.
constexpr int kCompressionLevel = 1;

uint32_t ReadBig32(const unsigned char* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
         uint32_t{bytes[3]};
}

void AppendBig32(std::string* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>(value >> shift));
}

void AppendChunk(std::string* out, const char* type, const std::string& data) {
  AppendBig32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out->size();
  out->append(type, 4);
  out->append(data);
  AppendBig32(out, libdeflate_crc32(0, out->data() + start, data.size() + 4));
}

// Paeth predictor of the PNG filters.
uint8_t Paeth(int left, int up, int up_left) {
  const int estimate = left + up - up_left;
  const int to_left = std::abs(estimate - left);
  const int to_up = std::abs(estimate - up);
  const int to_up_left = std::abs(estimate - up_left);
  if (to_left <= to_up && to_left <= to_up_left)
    return static_cast<uint8_t>(left);
  return static_cast<uint8_t>(to_up <= to_up_left ? up : up_left);
}

// Undoes one row's filter in place; prior is the previous unfiltered row (zeros for the first).
bool Unfilter(int filter, uint8_t* row, const uint8_t* prior, size_t length, int bpp) {
  switch (filter) {
    case 0:
      return true;
    case 1:
      for (size_t i = static_cast<size_t>(bpp); i < length; ++i) row[i] += row[i - bpp];
      return true;
    case 2:
      for (size_t i = 0; i < length; ++i) row[i] += prior[i];
      return true;
    case 3:
      for (size_t i = 0; i < length; ++i) {
        const int left = i >= static_cast<size_t>(bpp) ? row[i - bpp] : 0;
        row[i] += static_cast<uint8_t>((left + prior[i]) / 2);
      }
      return true;
    case 4:
      for (size_t i = 0; i < length; ++i) {
        const bool first = i < static_cast<size_t>(bpp);
        row[i] += Paeth(first ? 0 : row[i - bpp], prior[i], first ? 0 : prior[i - bpp]);
      }
      return true;
    default:
      return false;
  }
}

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
struct CompressorDeleter {
  void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

// The header fields the plain kind allows; false for anything else.
bool ReadPlainHeader(const unsigned char* ihdr, DeflatePng::Image* image) {
  const uint32_t width = ReadBig32(ihdr);
  const uint32_t height = ReadBig32(ihdr + 4);
  const int depth = ihdr[8];
  const int color = ihdr[9];
  if (width == 0 || height == 0 || width > 0x7fffffff || height > 0x7fffffff || depth != 8 ||
      (color != 0 && color != 2) || ihdr[10] != 0 || ihdr[11] != 0 || ihdr[12] != 0) {
    return false;
  }
  image->width = static_cast<int>(width);
  image->height = static_cast<int>(height);
  image->components = color == 0 ? 1 : 3;
  return true;
}

}  // namespace

DeflatePng::Result DeflatePng::Decode(const std::string& bytes,
                                      bool (*size_allowed)(long long, long long), Image* image) {
  const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t size = bytes.size();
  // Signature, then IHDR with its 13 bytes first.
  if (size < 8 + 25 || std::memcmp(data, kSignature, 8) != 0 || ReadBig32(data + 8) != 13 ||
      std::memcmp(data + 12, "IHDR", 4) != 0 || !ReadPlainHeader(data + 16, image)) {
    return Result::kNotPlain;
  }
  if (!size_allowed(image->width, image->height))
    return Result::kNotPlain;
  std::string compressed;
  bool ended = false;
  for (size_t at = 8; !ended;) {
    if (size - at < 12)
      return Result::kDamaged;
    const uint32_t length = ReadBig32(data + at);
    if (length > size - at - 12)
      return Result::kDamaged;
    const unsigned char* type = data + at + 4;
    if (ReadBig32(type + 4 + length) != libdeflate_crc32(0, type, length + 4))
      return Result::kDamaged;
    if (std::memcmp(type, "IDAT", 4) == 0) {
      compressed.append(reinterpret_cast<const char*>(type + 4), length);
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      ended = true;
    } else if (std::memcmp(type, "tRNS", 4) == 0 || std::memcmp(type, "PLTE", 4) == 0) {
      return Result::kNotPlain;  // transparency or a palette: libpng's transforms apply
    }
    at += 12 + length;
  }
  const size_t stride = static_cast<size_t>(image->width) * image->components;
  std::vector<uint8_t> filtered((stride + 1) * static_cast<size_t>(image->height));
  std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> inflater(
      libdeflate_alloc_decompressor());
  size_t produced = 0;
  if (!inflater ||
      libdeflate_zlib_decompress(inflater.get(), compressed.data(), compressed.size(),
                                 filtered.data(), filtered.size(),
                                 &produced) != LIBDEFLATE_SUCCESS ||
      produced != filtered.size()) {
    return Result::kDamaged;
  }
  image->rows.resize(stride * static_cast<size_t>(image->height));
  const std::vector<uint8_t> zeros(stride, 0);
  for (int y = 0; y < image->height; ++y) {
    const uint8_t* source = filtered.data() + static_cast<size_t>(y) * (stride + 1);
    uint8_t* row = image->rows.data() + static_cast<size_t>(y) * stride;
    std::memcpy(row, source + 1, stride);
    const uint8_t* prior = y == 0 ? zeros.data() : row - stride;
    if (!Unfilter(source[0], row, prior, stride, image->components))
      return Result::kDamaged;
  }
  return Result::kDecoded;
}

std::string DeflatePng::Encode(const Image& image) {
  if (image.width < 1 || image.height < 1 || (image.components != 1 && image.components != 3))
    return std::string();
  const size_t stride = static_cast<size_t>(image.width) * image.components;
  std::vector<uint8_t> filtered((stride + 1) * static_cast<size_t>(image.height));
  for (int y = 0; y < image.height; ++y) {
    uint8_t* out = filtered.data() + static_cast<size_t>(y) * (stride + 1);
    const uint8_t* row = image.rows.data() + static_cast<size_t>(y) * stride;
    *out++ = kUpFilter;
    if (y == 0) {
      std::memcpy(out, row, stride);
      continue;
    }
    const uint8_t* prior = row - stride;
    for (size_t i = 0; i < stride; ++i) out[i] = static_cast<uint8_t>(row[i] - prior[i]);
  }
  std::unique_ptr<libdeflate_compressor, CompressorDeleter> deflater(
      libdeflate_alloc_compressor(kCompressionLevel));
  if (!deflater)
    return std::string();
  std::string compressed(libdeflate_zlib_compress_bound(deflater.get(), filtered.size()), '\0');
  const size_t length = libdeflate_zlib_compress(deflater.get(), filtered.data(), filtered.size(),
                                                 compressed.data(), compressed.size());
  if (length == 0)
    return std::string();
  compressed.resize(length);
  std::string header;
  AppendBig32(&header, static_cast<uint32_t>(image.width));
  AppendBig32(&header, static_cast<uint32_t>(image.height));
  header += {8, static_cast<char>(image.components == 1 ? 0 : 2), 0, 0, 0};
  std::string png(reinterpret_cast<const char*>(kSignature), 8);
  AppendChunk(&png, "IHDR", header);
  AppendChunk(&png, "IDAT", compressed);
  AppendChunk(&png, "IEND", std::string());
  return png;
}

}  // namespace marrowleaf::platform
