#pragma once

#include <string>

#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::platform {

// Turns the bytes of a picture taken out of a book into a bitmap, and prepares rendered pages.
class PictureDecoder {
 public:
  // JPEG or PNG, recognised by their signature; anything else gives an empty bitmap. With the
  // reduced-scale load flag and a target size, a large JPEG is decoded at 1/2, 1/4 or 1/8.
  static SmartBitmap Decode(const std::string& bytes, int format, int target_width,
                            int target_height);
  static bool IsJpeg(const std::string& bytes);
  static bool IsPng(const std::string& bytes);
  // Turns the colours of a bitmap into grey tones in place (for panels without colour).
  static void ToGrey(SmartBitmap& bitmap);
  // Copies rows of 32-bit premultiplied ARGB pixels (stride in bytes) into a new bitmap; with
  // `opaque` the alpha byte is forced to 255 (sources that leave it undefined).
  static SmartBitmap FromPixels(const unsigned char* pixels, int width, int height, int stride,
                                bool opaque);
  // The scale that makes a page of page_width x page_height cover the target on both sides, or
  // gives it a longer side of kFullSizeRenderSide when no target is given, kept within the
  // render limits.
  static double RenderScale(double page_width, double page_height, int target_width,
                            int target_height);
};

}  // namespace marrowleaf::platform
