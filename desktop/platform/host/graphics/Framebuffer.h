#pragma once

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/mw/MWRect.h"

typedef struct _cairo_surface cairo_surface_t;

namespace marrowleaf::platform {

// The screen's pixels: an in-memory RGB24 image (one uint32_t 0x00RRGGBB per pixel, rows Stride()
// bytes apart) the size of the screen, white at first. It follows the screen's size: when
// ScreenWidth()/ScreenHeight() change (another device profile, an orientation), the next Surface()
// makes a new white image of the new size.
//
// The event loop draws into it through MWGraphics; the display back-end reads it. Both hold
// Mutex() while they touch the pixels, so a reader on another thread never sees half a drawing
// operation.
class Framebuffer {
 public:
  static Framebuffer& Get();

  std::mutex& Mutex() { return mutex_; }
  // The Cairo surface, resized to the screen when needed. Call with Mutex() held.
  cairo_surface_t* Surface();
  // Size and pixels as of the last Surface() call. Call with Mutex() held.
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Stride() const;
  const uint32_t* Pixels();

  // A copy of a rectangle clipped to the screen, row after row without padding (rect is changed
  // to the clipped rectangle). Takes the mutex itself.
  std::vector<uint32_t> CopyRect(MWRect* rect);
  // The pixel 0x00RRGGBB at (x, y), or -1 outside. Takes the mutex itself.
  int PixelAt(int x, int y);
  // Fills the whole screen with white. Takes the mutex itself.
  void Clear();

 private:
  Framebuffer() = default;
  void EnsureSize();

  std::mutex mutex_;
  cairo_surface_t* surface_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace marrowleaf::platform
