#include "DeflatePng.h"

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <memory>

namespace marrowleaf::platform {
namespace {

const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
// Fastest level: thumbnails are written while the user waits for a cover.
constexpr int kCompressionLevel = 1;

uint32_t ReadBig32(const unsigned char* bytes) {
  return (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) | (uint32_t{bytes[2]} << 8) |
         uint32_t{bytes[3]};
}

void AppendBig32(std::string* out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>(value >> shift));
}

void AppendChunk(std::string* out, const char* type, const void* data, size_t size) {
  AppendBig32(out, static_cast<uint32_t>(size));
  const size_t start = out->size();
  out->append(type, 4);
  out->append(static_cast<const char*>(data), size);
  AppendBig32(out, libdeflate_crc32(0, out->data() + start, size + 4));
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

// One of each per thread, kept: a compressor is several hundred kilobytes, which would otherwise
// be mapped and faulted in again for every thumbnail. Nullptr when memory ran out.
libdeflate_compressor* ThreadCompressor() {
  thread_local std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
      libdeflate_alloc_compressor(kCompressionLevel));
  return compressor.get();
}

libdeflate_decompressor* ThreadDecompressor() {
  thread_local std::unique_ptr<libdeflate_decompressor, DecompressorDeleter> decompressor(
      libdeflate_alloc_decompressor());
  return decompressor.get();
}

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
  // This device's files have one IDAT chunk, inflated where it lies; others are joined first.
  const unsigned char* first_data = nullptr;
  size_t first_length = 0;
  std::string joined;
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
      if (first_data == nullptr) {
        first_data = type + 4;
        first_length = length;
      } else {
        if (joined.empty())
          joined.assign(reinterpret_cast<const char*>(first_data), first_length);
        joined.append(reinterpret_cast<const char*>(type + 4), length);
      }
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      ended = true;
    } else if (std::memcmp(type, "tRNS", 4) == 0 || std::memcmp(type, "PLTE", 4) == 0) {
      return Result::kNotPlain;  // transparency or a palette: libpng's transforms apply
    }
    at += 12 + length;
  }
  if (!joined.empty()) {
    first_data = reinterpret_cast<const unsigned char*>(joined.data());
    first_length = joined.size();
  }
  const size_t stride = static_cast<size_t>(image->width) * image->components;
  const size_t filtered_size = (stride + 1) * static_cast<size_t>(image->height);
  // Not zero-filled: a decompression that does not fill it all is refused below.
  std::unique_ptr<uint8_t[]> filtered(new uint8_t[filtered_size]);
  libdeflate_decompressor* inflater = ThreadDecompressor();
  size_t produced = 0;
  if (!inflater || first_data == nullptr ||
      libdeflate_zlib_decompress(inflater, first_data, first_length, filtered.get(), filtered_size,
                                 &produced) != LIBDEFLATE_SUCCESS ||
      produced != filtered_size) {
    return Result::kDamaged;
  }
  // Each row is unfiltered where it lies, against the row before it (already unfiltered).
  image->rows.clear();
  image->rows.reserve(stride * static_cast<size_t>(image->height));
  const std::vector<uint8_t> zeros(stride, 0);
  for (int y = 0; y < image->height; ++y) {
    uint8_t* source = filtered.get() + static_cast<size_t>(y) * (stride + 1);
    const uint8_t* prior = y == 0 ? zeros.data() : source - stride;
    if (!Unfilter(source[0], source + 1, prior, stride, image->components))
      return Result::kDamaged;
    image->rows.insert(image->rows.end(), source + 1, source + 1 + stride);
  }
  return Result::kDecoded;
}

std::string DeflatePng::Encode(const Image& image) {
  if (image.width < 1 || image.height < 1 || (image.components != 1 && image.components != 3))
    return std::string();
  const size_t stride = static_cast<size_t>(image.width) * image.components;
  std::unique_ptr<uint8_t[]> filtered(new uint8_t[(stride + 1) * image.height]);
  for (int y = 0; y < image.height; ++y) {
    uint8_t* out = filtered.get() + static_cast<size_t>(y) * (stride + 1);
    const uint8_t* row = image.rows.data() + static_cast<size_t>(y) * stride;
    *out++ = kUpFilter;
    if (y == 0) {
      std::memcpy(out, row, stride);
      continue;
    }
    const uint8_t* prior = row - stride;
    for (size_t i = 0; i < stride; ++i) out[i] = static_cast<uint8_t>(row[i] - prior[i]);
  }
  return EncodeFiltered(image.width, image.height, image.components, filtered.get());
}

std::string DeflatePng::EncodeFiltered(int width, int height, int components,
                                       const uint8_t* filtered) {
  if (width < 1 || height < 1 || (components != 1 && components != 3))
    return std::string();
  libdeflate_compressor* deflater = ThreadCompressor();
  if (!deflater)
    return std::string();
  const size_t size = (static_cast<size_t>(width) * components + 1) * height;
  const size_t bound = libdeflate_zlib_compress_bound(deflater, size);
  // Not zero-filled: the compressor writes what is used.
  std::unique_ptr<uint8_t[]> compressed(new uint8_t[bound]);
  const size_t length = libdeflate_zlib_compress(deflater, filtered, size, compressed.get(), bound);
  if (length == 0)
    return std::string();
  std::string header;
  AppendBig32(&header, static_cast<uint32_t>(width));
  AppendBig32(&header, static_cast<uint32_t>(height));
  header += {8, static_cast<char>(components == 1 ? 0 : 2), 0, 0, 0};
  std::string png(reinterpret_cast<const char*>(kSignature), 8);
  png.reserve(8 + 25 + 12 + length + 12);
  AppendChunk(&png, "IHDR", header.data(), header.size());
  AppendChunk(&png, "IDAT", compressed.get(), length);
  AppendChunk(&png, "IEND", "", 0);
  return png;
}

std::string DeflatePng::Chunk(const char* type, const std::string& data) {
  std::string chunk;
  AppendChunk(&chunk, type, data.data(), data.size());
  return chunk;
}

bool DeflatePng::FindChunk(const std::string& png, const char* type, std::string* data) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(png.data());
  for (size_t at = 8; at <= png.size() && png.size() - at >= 12;) {
    const uint32_t length = ReadBig32(bytes + at);
    const unsigned char* chunk_type = bytes + at + 4;
    if (length > png.size() - at - 12 || std::memcmp(chunk_type, "IDAT", 4) == 0)
      return false;
    if (std::memcmp(chunk_type, type, 4) == 0) {
      if (ReadBig32(chunk_type + 4 + length) != libdeflate_crc32(0, chunk_type, length + 4))
        return false;
      data->assign(reinterpret_cast<const char*>(chunk_type + 4), length);
      return true;
    }
    at += 12 + length;
  }
  return false;
}

}  // namespace marrowleaf::platform
