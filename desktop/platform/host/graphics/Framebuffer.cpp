// The screen's pixels in memory, sized to the screen of the current device profile.
#include "Framebuffer.h"

#include <cairo.h>
#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/sdk/screen.h"

namespace marrowleaf::platform {
namespace {

// The screen's memory is mapped by the framebuffer itself rather than by Cairo: a screen is several
// megabytes, and touching it page by page on first drawing cost a page fault each (over 1500 for
// the default profile, about 12 us apiece on a virtual machine). In huge pages where the host
// kernel offers them, faulted in by one call, it takes well under a millisecond. Kernels without
// either advice simply fault the pages in as before.
constexpr size_t kHugePage = size_t{2} << 20;

struct Mapping {
  void* address;
  size_t bytes;
};

const cairo_user_data_key_t kMappingKey{};

// The surface may outlive the framebuffer's interest in it (a drawing context still holds it when
// the screen changes size), so the mapping goes with the surface's last reference.
void Unmap(void* data) {
  const auto* mapping = static_cast<Mapping*>(data);
  munmap(mapping->address, mapping->bytes);
  delete mapping;
}

unsigned char* MapPixels(size_t bytes, Mapping* mapping) {
  const size_t rounded = (bytes + kHugePage - 1) / kHugePage * kHugePage;
  // One huge page more than needed, so that the pixels can start on a huge page's boundary.
  const size_t mapped = rounded + kHugePage;
  void* address = mmap(nullptr, mapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (address == MAP_FAILED)
    return nullptr;
  auto* pixels = reinterpret_cast<unsigned char*>(
      (reinterpret_cast<uintptr_t>(address) + kHugePage - 1) & ~(uintptr_t{kHugePage} - 1));
#ifdef MADV_HUGEPAGE
  madvise(pixels, rounded, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
  madvise(pixels, rounded, MADV_POPULATE_WRITE);
#endif
  *mapping = Mapping{address, mapped};
  return pixels;
}

// A white RGB24 surface of the given size.
cairo_surface_t* NewWhiteSurface(int width, int height) {
  const int stride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
  const size_t bytes = static_cast<size_t>(stride) * static_cast<size_t>(height);
  Mapping mapping{};
  unsigned char* pixels = stride > 0 ? MapPixels(bytes, &mapping) : nullptr;
  cairo_surface_t* surface = nullptr;
  if (pixels != nullptr) {
    surface =
        cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_RGB24, width, height, stride);
    auto* owned = new Mapping(mapping);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS ||
        cairo_surface_set_user_data(surface, &kMappingKey, owned, Unmap) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(surface);
      Unmap(owned);
      surface = nullptr;
    }
  }
  if (surface == nullptr)
    surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  // A new screen is white, as an e-ink panel is after a clear.
  cairo_surface_flush(surface);
  std::memset(cairo_image_surface_get_data(surface), 0xFF,
              static_cast<size_t>(cairo_image_surface_get_stride(surface)) * height);
  cairo_surface_mark_dirty(surface);
  return surface;
}

}  // namespace

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
  surface_ = NewWhiteSurface(width, height);
  width_ = width;
  height_ = height;
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
