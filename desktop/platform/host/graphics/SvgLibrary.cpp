#include "SvgLibrary.h"

#include "SharedLibrary.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {
namespace {

const SvgLibrary* Open() {
  static SharedLibrary library(MARROWLEAF_RSVG_LIBRARY);
  static SvgLibrary svg;
  if (!library.Loaded() || !library.Find("rsvg_handle_new_from_data", &svg.NewFromData) ||
      !library.Find("rsvg_handle_set_dpi", &svg.SetDpi) ||
      !library.Find("rsvg_handle_get_intrinsic_size_in_pixels", &svg.GetIntrinsicSizeInPixels) ||
      !library.Find("rsvg_handle_render_document", &svg.RenderDocument)) {
    MW_LOG(MW_LOG_WARNING, "no SVG library: %s", library.Error().c_str());
    return nullptr;
  }
  return &svg;
}

}  // namespace

const SvgLibrary* SvgLibrary::Get() {
  static const SvgLibrary* opened = Open();
  return opened;
}

}  // namespace marrowleaf::platform
