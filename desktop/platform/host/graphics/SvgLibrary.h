#pragma once

#include <librsvg/rsvg.h>

namespace marrowleaf::platform {

// The SVG library's functions, opened the first time a theme image must really be drawn (see
// SharedLibrary): a start whose images all come from the theme image store never loads it nor the
// libraries it pulls in.
struct SvgLibrary {
  decltype(&::rsvg_handle_new_from_data) NewFromData = nullptr;
  decltype(&::rsvg_handle_set_dpi) SetDpi = nullptr;
  decltype(&::rsvg_handle_get_intrinsic_size_in_pixels) GetIntrinsicSizeInPixels = nullptr;
  decltype(&::rsvg_handle_render_document) RenderDocument = nullptr;

  // The library with every function found, opened once; nullptr (logged once) when it is missing
  // or lacks one of them.
  static const SvgLibrary* Get();
};

}  // namespace marrowleaf::platform
