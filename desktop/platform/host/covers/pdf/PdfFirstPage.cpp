// The PDF module: the first page of a document rendered with poppler (see PdfFirstPage.h).
#include "PdfFirstPage.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

#include <exception>
#include <memory>
#include <mutex>
#include <type_traits>

namespace {

// Damaged documents make the library print its complaints; the cover simply stays empty.
void Quiet(const std::string&, void*) {}

int Render(const char* path, MarrowleafPdfScale scale_for, MarrowleafPdfSink sink, void* context) {
  static std::once_flag quiet;
  std::call_once(quiet, [] { poppler::set_debug_error_function(Quiet, nullptr); });
  std::unique_ptr<poppler::document> document(poppler::document::load_from_file(path));
  if (!document || document->is_locked() || document->pages() < 1)
    return -1;
  std::unique_ptr<poppler::page> page(document->create_page(0));
  if (!page)
    return -1;
  const poppler::rectf box = page->page_rect(poppler::media_box);
  const double scale = scale_for(box.width(), box.height(), context);
  if (scale <= 0)
    return -1;
  poppler::page_renderer renderer;
  renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
  renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
  renderer.set_image_format(poppler::image::format_argb32);
  const poppler::image image = renderer.render_page(page.get(), 72.0 * scale, 72.0 * scale);
  if (!image.is_valid())
    return -1;
  sink(reinterpret_cast<const unsigned char*>(image.const_data()), image.width(), image.height(),
       image.bytes_per_row(), context);
  return 0;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int marrowleaf_pdf_first_page(
    const char* path, MarrowleafPdfScale scale, MarrowleafPdfSink sink, void* context) {
  static_assert(std::is_same_v<decltype(&marrowleaf_pdf_first_page), MarrowleafPdfFirstPage>);
  try {
    return Render(path, scale, sink, context);
  } catch (const std::exception&) {
    // Out of memory while rendering: no cover, as for a damaged document.
    return -1;
  }
}
