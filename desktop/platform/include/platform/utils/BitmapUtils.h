#pragma once

#include "platform/utils/SmartBitmap.h"

// Helpers on bitmaps. None changes its argument unless its name says so; an empty bitmap gives an
// empty result.

// A private copy of the pixels.
SmartBitmap CopyBitmap(const SmartBitmap& bitmap);

// Mirror flags for MirrorBitmap.
constexpr int MIRROR_HORIZONTAL = 4;  // left and right trade places
constexpr int MIRROR_VERTICAL = 8;    // top and bottom trade places
// Mirrors the bitmap's own pixels (shared by every copy of the handle).
void MirrorBitmap(SmartBitmap& bitmap, int flags);

// A copy scaled to fit inside width x height keeping its proportions (at least 1 x 1).
SmartBitmap BitmapStretchProportionally(const SmartBitmap& bitmap, int width, int height);

// Bands for FindAverageBitmapColor.
constexpr int BITMAP_BAND_LEFT = 1;
constexpr int BITMAP_BAND_RIGHT = 2;
constexpr int BITMAP_BAND_TOP = 4;
constexpr int BITMAP_BAND_BOTTOM = 8;
// The average colour 0xRRGGBB of the band along one side of the bitmap, `band_percent` of the
// bitmap's size deep (at least one pixel row or column); transparent pixels count as white.
// -1 for an empty bitmap or an unknown band.
int FindAverageBitmapColor(const SmartBitmap& bitmap, int band, int band_percent);

// A copy with every colour inverted (for a screen that runs inverted); alpha is kept.
SmartBitmap pk_copy_inv_bitmap(const SmartBitmap& bitmap);

// Prepares a cover for the panel, in place: on an e-ink panel the tones are stretched so that the
// lightest and darkest few pixels become white and black and the mid-tones are lifted a little,
// since grey panels show photographs flat and dark. Colour panels keep the bitmap as it is.
// A bitmap is adjusted once: a second call, on it or on a copy of it, or on the bitmap of a PNG
// file written from an adjusted bitmap (the file carries a mark), leaves it as it is.
void adjustBitmapDefault(SmartBitmap& bitmap);
