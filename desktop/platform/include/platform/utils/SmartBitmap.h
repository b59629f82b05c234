#pragma once

#include <cstdint>
#include <memory>
#include <string>

// Pixel formats a bitmap is loaded for: grey for e-ink panels (colours are turned into their
// luminance at load time), colour for colour panels.
enum SmartBitmapFormat : int {
  SMART_BITMAP_GREY = 8,
  SMART_BITMAP_COLOR = 32,
};

// The format that suits this device's panel (colour when device_display_colormask is nonzero).
int SmartBitmapFormatForDisplay();

// A reference-counted bitmap: copies share the pixels (use CopyBitmap for a private copy), and an
// empty handle means no image. Pixels are 32-bit premultiplied ARGB in native byte order, rows of
// Width() pixels without padding, so they can be drawn directly by the graphics.
//
// Every loader refuses images above kMaxSide pixels on a side or kMaxPixels in total, files above
// kMaxFileBytes, and anything it can't decode: the result is then empty. Paths are device paths.
class SmartBitmap {
 public:
  static constexpr int kMaxSide = 16384;
  static constexpr long long kMaxPixels = 40LL * 1000 * 1000;
  static constexpr size_t kMaxFileBytes = 64u * 1024 * 1024;

  SmartBitmap() = default;

  // A new bitmap filled with an opaque colour (0xRRGGBB), or empty for a size out of bounds.
  static SmartBitmap Create(int width, int height, int color = 0xFFFFFF);
  // A copy of a rectangle of the screen's framebuffer (clipped to the screen).
  static SmartBitmap FromScreen(int x, int y, int width, int height);
  // The theme image `name`: "/ebrmain/themes/<theme>/images/<name>.svg" rendered at the device's
  // DPI (its width and height in physical units such as mm give the same size on every screen),
  // else "<name>.png". On a colour panel the image's colour variant "<name>.color" comes first. A
  // missing or broken image gives the theme's "broken_image"; when that is missing too, the result
  // is empty. Images are cached per theme, DPI and device root.
  static SmartBitmap LoadFromTheme(const std::string& name);
  // Forgets the cached theme images (after a theme change).
  static void ClearThemeCache();
  static SmartBitmap LoadPNGToFormat(const std::string& path, int format);
  // Decodes a JPEG file. With a target size, the decoder scales down by the largest of 1/2, 1/4
  // and 1/8 that keeps the image at least as large as the target on both sides, which is much
  // faster than decoding the whole image and shrinking it afterwards.
  static SmartBitmap LoadJPEGToFormat(const std::string& path, int format, int target_width = -1,
                                      int target_height = -1);
  // The same decoders on bytes in memory.
  static SmartBitmap DecodePNG(const std::string& bytes, int format);
  static SmartBitmap DecodeJPEG(const std::string& bytes, int format, int target_width = -1,
                                int target_height = -1);

  // Writes the bitmap as a PNG file, atomically. False for an empty bitmap or a failed write.
  bool SavePNG(const std::string& path) const;
  // The PNG file's bytes ("" for an empty bitmap).
  std::string EncodePNG() const;

  bool IsEmpty() const { return !pixels_; }
  explicit operator bool() const { return !IsEmpty(); }
  int Width() const;
  int Height() const;
  // Bytes from one row to the next (Width() * 4).
  int Stride() const { return Width() * 4; }
  const uint32_t* Data() const;
  // The shared pixels: a change shows in every copy of this handle.
  uint32_t* MutableData();
  // The colour 0xRRGGBB of a pixel (un-premultiplied) and its alpha 0..255.
  int PixelColor(int x, int y) const;
  int PixelAlpha(int x, int y) const;
  // True when every pixel is opaque.
  bool IsOpaque() const;
  // True when both handles share the same pixels.
  bool SharesPixelsWith(const SmartBitmap& other) const { return pixels_ == other.pixels_; }

 private:
  struct Pixels;
  explicit SmartBitmap(std::shared_ptr<Pixels> pixels) : pixels_(std::move(pixels)) {}
  friend class SmartBitmapAccess;

  std::shared_ptr<Pixels> pixels_;
};
