#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// Image files made in memory for the tests.
class ImageFiles {
 public:
  // A baseline JPEG of the bitmap (quality 95).
  static std::string Jpeg(const SmartBitmap& bitmap);
  // A PNG whose header claims width x height (the pixel data is that of a 1 x 1 image), to check
  // that decoders refuse sizes before decoding.
  static std::string PngClaimingSize(unsigned width, unsigned height);
  // A bitmap with a horizontal ramp: red = x * 255 / (width - 1), green = y, blue = 128.
  static SmartBitmap Ramp(int width, int height);
};

namespace image_files_detail {

inline uint32_t Crc32(const unsigned char* data, size_t size) {
  uint32_t crc = 0xFFFFFFFFu;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline void PutBigEndian(std::string& bytes, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[offset + static_cast<size_t>(i)] = static_cast<char>((value >> (24 - 8 * i)) & 0xFF);
}

}  // namespace image_files_detail

inline std::string ImageFiles::Jpeg(const SmartBitmap& bitmap) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(bitmap.Width());
  info.image_height = static_cast<JDIMENSION>(bitmap.Height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(bitmap.Width()) * 3);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      const int color = bitmap.PixelColor(x, static_cast<int>(info.next_scanline));
      row[static_cast<size_t>(x) * 3] = static_cast<JSAMPLE>(color >> 16);
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<JSAMPLE>(color >> 8);
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<JSAMPLE>(color);
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<char*>(buffer), size);
  free(buffer);
  return bytes;
}

inline std::string ImageFiles::PngClaimingSize(unsigned width, unsigned height) {
  std::string bytes = SmartBitmap::Create(1, 1, 0).EncodePNG();
  // The IHDR chunk follows the 8-byte signature: length, "IHDR", width, height, ..., CRC.
  image_files_detail::PutBigEndian(bytes, 16, width);
  image_files_detail::PutBigEndian(bytes, 20, height);
  image_files_detail::PutBigEndian(
      bytes, 29,
      image_files_detail::Crc32(reinterpret_cast<const unsigned char*>(bytes.data()) + 12, 17));
  return bytes;
}

inline SmartBitmap ImageFiles::Ramp(int width, int height) {
  SmartBitmap bitmap = SmartBitmap::Create(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      bitmap.MutableData()[y * width + x] = 0xFF000080u |
                                            (static_cast<uint32_t>(x * 255 / (width - 1)) << 16) |
                                            (static_cast<uint32_t>(y & 0xFF) << 8);
  return bitmap;
}

}  // namespace marrowleaf::platform
