// The screen's pixels in memory, sized to the screen of the current device profile.
#include "Framebuffer.h"

#include <cairo.h>

#include <algorithm>
#include <cstring>

#include "platform/sdk/screen.h"

namespace marrowleaf::platform {

Framebuffer& Framebuffer::Get() {
  static Framebuffer* framebuffer = new Framebuffer();
  return *framebuffer;
}

void Framebuffer::EnsureSize() {
  const int width = std::max(1, ScreenWidth());
  const int height = std::max(1, ScreenHeight());
  if (surface_ && width == width_ && height == height_)
    return;
  if (surface_)
    cairo_surface_destroy(surface_);
  surface_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  width_ = width;
  height_ = height;
  // A new screen is white, as an e-ink panel is after a clear.
  cairo_surface_flush(surface_);
  std::memset(cairo_image_surface_get_data(surface_), 0xFF,
              static_cast<size_t>(cairo_image_surface_get_stride(surface_)) * height);
  cairo_surface_mark_dirty(surface_);
}

cairo_surface_t* Framebuffer::Surface() {
  EnsureSize();
  return surface_;
}

int Framebuffer::Stride() const {
  return surface_ ? cairo_image_surface_get_stride(surface_) : 0;
}

const uint32_t* Framebuffer::Pixels() {
  cairo_surface_t* surface = Surface();
  cairo_surface_flush(surface);
  return reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(surface));
}

std::vector<uint32_t> Framebuffer::CopyRect(MWRect* rect) {
  std::lock_guard<std::mutex> lock(mutex_);
  const uint32_t* pixels = Pixels();
  const int left = std::max(rect->x, 0);
  const int top = std::max(rect->y, 0);
  const int right = std::min<long long>(static_cast<long long>(rect->x) + rect->w, width_);
  const int bottom = std::min<long long>(static_cast<long long>(rect->y) + rect->h, height_);
  *rect = MWRect{left, top, std::max(0, right - left), std::max(0, bottom - top)};
  std::vector<uint32_t> copy(static_cast<size_t>(rect->w) * rect->h);
  const int row_pixels = Stride() / 4;
  for (int row = 0; row < rect->h; ++row) {
    const uint32_t* source = pixels + static_cast<size_t>(top + row) * row_pixels + left;
    std::copy(source, source + rect->w, copy.begin() + static_cast<size_t>(row) * rect->w);
  }
  return copy;
}

int Framebuffer::PixelAt(int x, int y) {
  MWRect rect{x, y, 1, 1};
  const std::vector<uint32_t> pixel = CopyRect(&rect);
  return pixel.empty() ? -1 : static_cast<int>(pixel[0] & 0xFFFFFF);
}

void Framebuffer::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  cairo_surface_t* surface = Surface();
  cairo_surface_flush(surface);
  std::memset(cairo_image_surface_get_data(surface), 0xFF, static_cast<size_t>(Stride()) * height_);
  cairo_surface_mark_dirty(surface);
}

}  // namespace marrowleaf::platform
