#pragma once

#include <cstdint>
#include <vector>

#include "platform/utils/SmartBitmap.h"

typedef struct _cairo_surface cairo_surface_t;

// The pixels a SmartBitmap handle shares.
struct SmartBitmap::Pixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> data;
  // The panel's tone adjustment has been applied (by this process, or before the bitmap was
  // stored as a PNG file that says so): it must not be applied twice.
  bool tones_adjusted = false;
};

// What the graphics host needs of a bitmap beyond its public face: making one without filling it
// and drawing it with Cairo.
class SmartBitmapAccess {
 public:
  // True when a bitmap of this size may be made (both sides 1..kMaxSide, at most kMaxPixels).
  static bool SizeAllowed(long long width, long long height);
  // A bitmap of uninitialised pixels, or empty when the size is not allowed.
  static SmartBitmap Allocate(int width, int height);
  // A Cairo ARGB32 surface over the bitmap's pixels (nullptr for an empty bitmap). The caller
  // destroys it; the pixels must outlive it.
  static cairo_surface_t* Surface(const SmartBitmap& bitmap);
  // Turns straight 0xAARRGGBB pixels into premultiplied ones, and colour into grey for the grey
  // format.
  static void FinishDecoded(SmartBitmap& bitmap, int format);
  // Whether the panel's tone adjustment is already in the pixels (false for an empty bitmap).
  static bool TonesAdjusted(const SmartBitmap& bitmap);
  static void MarkTonesAdjusted(SmartBitmap& bitmap);
};
