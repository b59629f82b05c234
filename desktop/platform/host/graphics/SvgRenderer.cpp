#include "SvgRenderer.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cmath>
#include <cstring>

#include "PixelMath.h"
#include "SmartBitmapAccess.h"
#include "SvgLibrary.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {

namespace {

// Owns the GObject references of one rendering.
class RsvgHandleRef {
 public:
  explicit RsvgHandleRef(RsvgHandle* handle) : handle_(handle) {}
  ~RsvgHandleRef() {
    if (handle_)
      g_object_unref(handle_);
  }
  RsvgHandleRef(const RsvgHandleRef&) = delete;
  RsvgHandleRef& operator=(const RsvgHandleRef&) = delete;
  RsvgHandle* get() const { return handle_; }

 private:
  RsvgHandle* handle_;
};

RsvgHandle* Parse(const SvgLibrary& svg, const std::string& bytes) {
  GError* error = nullptr;
  RsvgHandle* handle =
      svg.NewFromData(reinterpret_cast<const guint8*>(bytes.data()), bytes.size(), &error);
  if (!handle) {
    MW_LOG(MW_LOG_WARNING, "SVG not parsed: %s", error ? error->message : "unknown error");
    if (error)
      g_error_free(error);
  }
  return handle;
}

// Draws the document over the whole bitmap, which starts transparent.
bool Draw(const SvgLibrary& svg, RsvgHandle* handle, SmartBitmap& bitmap) {
  std::memset(bitmap.MutableData(), 0, static_cast<size_t>(bitmap.Stride()) * bitmap.Height());
  cairo_surface_t* surface = SmartBitmapAccess::Surface(bitmap);
  cairo_t* cairo = cairo_create(surface);
  RsvgRectangle viewport{0, 0, static_cast<double>(bitmap.Width()),
                         static_cast<double>(bitmap.Height())};
  GError* error = nullptr;
  const gboolean drawn = svg.RenderDocument(handle, cairo, &viewport, &error);
  cairo_destroy(cairo);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
  if (!drawn) {
    MW_LOG(MW_LOG_WARNING, "SVG not drawn: %s", error ? error->message : "unknown error");
    if (error)
      g_error_free(error);
  }
  return drawn;
}

}  // namespace

SmartBitmap SvgRenderer::Render(const std::string& bytes, int dpi, int format) {
  const SvgLibrary* svg = SvgLibrary::Get();
  if (svg == nullptr)
    return SmartBitmap();
  RsvgHandleRef handle(Parse(*svg, bytes));
  if (!handle.get())
    return SmartBitmap();
  svg->SetDpi(handle.get(), dpi);
  gdouble width = 0;
  gdouble height = 0;
  if (!svg->GetIntrinsicSizeInPixels(handle.get(), &width, &height) || !std::isfinite(width) ||
      !std::isfinite(height)) {
    MW_LOG(MW_LOG_WARNING, "SVG refused: it has no width and height");
    return SmartBitmap();
  }
  const long long pixel_width = std::llround(width);
  const long long pixel_height = std::llround(height);
  if (!SmartBitmapAccess::SizeAllowed(pixel_width, pixel_height)) {
    MW_LOG(MW_LOG_WARNING, "SVG refused: %lldx%lld pixels", pixel_width, pixel_height);
    return SmartBitmap();
  }
  SmartBitmap bitmap =
      SmartBitmapAccess::Allocate(static_cast<int>(pixel_width), static_cast<int>(pixel_height));
  if (bitmap.IsEmpty() || !Draw(*svg, handle.get(), bitmap))
    return SmartBitmap();
  // Cairo wrote premultiplied pixels; the grey of a premultiplied pixel is the premultiplied grey.
  if (format != SMART_BITMAP_COLOR) {
    uint32_t* pixel = bitmap.MutableData();
    for (size_t i = 0, n = static_cast<size_t>(bitmap.Width()) * bitmap.Height(); i < n; ++i)
      pixel[i] = PixelMath::ToGrey(pixel[i]);
  }
  return bitmap;
}

}  // namespace marrowleaf::platform
