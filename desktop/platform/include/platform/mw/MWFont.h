#pragma once

#include <string>

// Font flag: every text drawn with the font is upper-cased first.
constexpr unsigned MW_FONT_UPPERCASE = 0x4000;

// A font of the window framework: a fontconfig family (DejaVu by default), a size in typographic
// points and a style. Points are turned into pixels with the device's DPI, so one layout gives text
// of the same physical size on every screen.
struct MWFont {
  std::string family = "DejaVu Sans";
  // Size in points (1/72 inch).
  int size = 12;
  bool bold = false;
  bool italic = false;
  // MW_FONT_* flags.
  unsigned flags = 0;

  // The size in pixels on this device (at least 1).
  int PixelSize() const;
  bool IsUpperCase() const { return (flags & MW_FONT_UPPERCASE) != 0; }
  bool operator==(const MWFont& other) const {
    return family == other.family && size == other.size && bold == other.bold &&
           italic == other.italic && flags == other.flags;
  }
};
