#include "PdfCover.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>
#include <sys/stat.h>

#include <cmath>
#include <memory>
#include <mutex>

#include "CoverLimits.h"
#include "PictureDecoder.h"

namespace marrowleaf::platform {
namespace {

// Damaged documents make the library print its complaints; the cover simply stays empty.
void Quiet(const std::string&, void*) {}

bool FileFits(const std::string& host_path) {
  struct stat info;
  return stat(host_path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
         static_cast<unsigned long long>(info.st_size) <= CoverLimits::kMaxDocumentBytes;
}

}  // namespace

SmartBitmap PdfCover::Render(const std::string& host_path, int width, int height, int format) {
  static std::once_flag quiet;
  std::call_once(quiet, [] { poppler::set_debug_error_function(Quiet, nullptr); });
  if (!FileFits(host_path))
    return SmartBitmap();
  std::unique_ptr<poppler::document> document(poppler::document::load_from_file(host_path));
  if (!document || document->is_locked() || document->pages() < 1)
    return SmartBitmap();
  std::unique_ptr<poppler::page> page(document->create_page(0));
  if (!page)
    return SmartBitmap();
  const poppler::rectf box = page->page_rect(poppler::media_box);
  const double scale = PictureDecoder::RenderScale(box.width(), box.height(), width, height);
  if (scale <= 0)
    return SmartBitmap();
  poppler::page_renderer renderer;
  renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
  renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
  renderer.set_image_format(poppler::image::format_argb32);
  const poppler::image image = renderer.render_page(page.get(), 72.0 * scale, 72.0 * scale);
  if (!image.is_valid())
    return SmartBitmap();
  SmartBitmap bitmap =
      PictureDecoder::FromPixels(reinterpret_cast<const unsigned char*>(image.const_data()),
                                 image.width(), image.height(), image.bytes_per_row(), true);
  if (format != SMART_BITMAP_COLOR)
    PictureDecoder::ToGrey(bitmap);
  return bitmap;
}

}  // namespace marrowleaf::platform
