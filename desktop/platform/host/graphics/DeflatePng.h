#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace marrowleaf::platform {

// The PNG files the cover cache writes and reads most, 8-bit grey or RGB without transparency or
// interlacing, read and written with libdeflate, which inflates about twice and deflates several
// times as fast as zlib. Every chunk's CRC and the zlib checksum are still checked. Files of any
// other kind are left to libpng; the files written are plain PNG that every reader takes.
class DeflatePng {
 public:
  struct Image {
    int width = 0;
    int height = 0;
    int components = 0;         // 1 grey, 3 RGB
    std::vector<uint8_t> rows;  // height rows of width * components bytes, unfiltered
  };
  enum class Result { kDecoded, kNotPlain, kDamaged };

  // kNotPlain when the file is not of the plain kind (or not a PNG at all): libpng must read it.
  // kDamaged when it is of that kind but broken: a checksum, the size or the data is wrong.
  // size_allowed refuses sizes beyond the bitmap caps before anything is inflated (kNotPlain, so
  // that libpng refuses them in its usual way).
  static Result Decode(const std::string& bytes, bool (*size_allowed)(long long, long long),
                       Image* image);
  // A PNG of the image (components 1 or 3) with the "up" filter on every row; "" on failure.
  static std::string Encode(const Image& image);

  // The same for a writer that filters its rows itself while it makes them: `filtered` holds
  // height rows of 1 + width * components bytes, each the filter byte kUpFilter followed by the
  // row's bytes minus those of the row above (the first row as it is).
  static constexpr uint8_t kUpFilter = 2;
  static std::string EncodeFiltered(int width, int height, int components, const uint8_t* filtered);

  // One chunk as it stands in a file: length, type (4 letters), data and checksum.
  static std::string Chunk(const char* type, const std::string& data);
  // The data of the first chunk of this type ahead of the image data, if its checksum is right.
  static bool FindChunk(const std::string& png, const char* type, std::string* data);
};

}  // namespace marrowleaf::platform
