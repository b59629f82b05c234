#pragma once

#include <map>
#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// Theme images as drawn by an earlier run, kept in one file per theme, DPI and display format so
// that a start need not render them again: rendering the SVGs (and loading the SVG library, which
// is opened only when a picture must really be drawn) was a good part of every start. Each image
// carries the signature of the files it came from (see ThemeImages); a signature that no longer
// matches makes the image count as missing, and it is drawn and stored anew.
//
// File: "MLTHEMEIMG1\n", the context (a text naming theme, DPI and format), the number of images
// and, per image, name, signature, width, height and the premultiplied ARGB pixels; then the
// CRC-32 of all that. Counts and lengths are little-endian 32-bit. A file that is damaged, too
// large or made for another context reads as empty.
class ThemeImageStore {
 public:
  static constexpr size_t kMaxFileBytes = 32u * 1024 * 1024;
  static constexpr size_t kMaxImages = 4096;
  static constexpr size_t kMaxTextBytes = 4096;

  ThemeImageStore(std::string device_path, std::string context);

  // The stored image of this name when its signature still matches; empty otherwise.
  SmartBitmap Find(const std::string& name, const std::string& signature);
  void Put(const std::string& name, const std::string& signature, const SmartBitmap& image);
  // Writes the file (atomically) when an image was put since it was read or written.
  bool Save();

  // The file's bytes, and back; Decode is false (and leaves *images empty) for anything damaged
  // or made for another context.
  struct Stored {
    std::string signature;
    SmartBitmap image;
  };
  static std::string Encode(const std::string& context,
                            const std::map<std::string, Stored>& images);
  static bool Decode(const std::string& bytes, const std::string& context,
                     std::map<std::string, Stored>* images);

 private:
  void ReadOnce();

  std::string device_path_;
  std::string context_;
  bool read_ = false;
  bool changed_ = false;
  std::map<std::string, Stored> images_;
};

}  // namespace marrowleaf::platform
