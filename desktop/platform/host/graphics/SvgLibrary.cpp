#include "SvgLibrary.h"

#include "SharedLibrary.h"

namespace marrowleaf::platform {
namespace {

bool FindAll(SharedLibrary& library, SvgLibrary& svg) {
  return library.Find("rsvg_handle_new_from_data", &svg.NewFromData) &&
         library.Find("rsvg_handle_set_dpi", &svg.SetDpi) &&
         library.Find("rsvg_handle_get_intrinsic_size_in_pixels", &svg.GetIntrinsicSizeInPixels) &&
         library.Find("rsvg_handle_render_document", &svg.RenderDocument);
}

}  // namespace

const SvgLibrary* SvgLibrary::Get() {
  return SharedLibrary::OpenTable<SvgLibrary>(MARROWLEAF_RSVG_LIBRARY, "SVG", FindAll);
}

}  // namespace marrowleaf::platform
