#include "TextLayout.h"

#include <pango/pangocairo.h>

#include "platform/mw/MWGraphics.h"

namespace marrowleaf::platform {

namespace {

// Texts longer than this are cut before layout: no label shows more, and Pango's cost grows with
// the length.
constexpr size_t kMaxTextBytes = 64 * 1024;

// One context per thread: Pango's font maps are not shared between threads.
PangoContext* SharedContext() {
  thread_local PangoContext* context = [] {
    PangoContext* created = pango_font_map_create_context(pango_cairo_font_map_get_default());
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    pango_cairo_context_set_font_options(created, options);
    cairo_font_options_destroy(options);
    return created;
  }();
  return context;
}

PangoFontDescription* Describe(const MWFont& font) {
  PangoFontDescription* description = pango_font_description_new();
  pango_font_description_set_family(description,
                                    font.family.empty() ? "DejaVu Sans" : font.family.c_str());
  pango_font_description_set_absolute_size(description, font.PixelSize() * PANGO_SCALE);
  pango_font_description_set_weight(description,
                                    font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
  pango_font_description_set_style(description,
                                   font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
  return description;
}

PangoAlignment Alignment(unsigned flags) {
  if (flags & MW_TEXT_HCENTER)
    return PANGO_ALIGN_CENTER;
  return (flags & MW_TEXT_RIGHT) ? PANGO_ALIGN_RIGHT : PANGO_ALIGN_LEFT;
}

}  // namespace

std::string TextLayout::Prepare(const MWFont& font, const std::string& text, unsigned flags) {
  const std::string capped = text.substr(0, kMaxTextBytes);
  gchar* valid = g_utf8_make_valid(capped.data(), static_cast<gssize>(capped.size()));
  std::string result(valid);
  g_free(valid);
  if ((flags & MW_TEXT_UPPERCASE) || font.IsUpperCase()) {
    gchar* upper = g_utf8_strup(result.data(), static_cast<gssize>(result.size()));
    result = upper;
    g_free(upper);
  }
  return result;
}

TextLayout::TextLayout(const MWFont& font, const std::string& text, int width, int height,
                       unsigned flags)
    : layout_(pango_layout_new(SharedContext())) {
  PangoFontDescription* description = Describe(font);
  pango_layout_set_font_description(layout_, description);
  pango_font_description_free(description);
  const std::string shown = Prepare(font, text, flags);
  pango_layout_set_text(layout_, shown.data(), static_cast<int>(shown.size()));
  if (width <= 0)
    return;
  const bool wrap = (flags & MW_TEXT_WRAP) != 0;
  const bool ellipsis = (flags & MW_TEXT_ELLIPSIS) != 0;
  if (!wrap && !ellipsis)
    return;
  pango_layout_set_width(layout_, width * PANGO_SCALE);
  pango_layout_set_alignment(layout_, Alignment(flags));
  pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
  if (ellipsis) {
    pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_END);
    // Without wrapping the text keeps to one line; with it, to the lines that fit the height.
    pango_layout_set_height(layout_, wrap && height > 0 ? height * PANGO_SCALE : -1);
  }
}

TextLayout::~TextLayout() {
  g_object_unref(layout_);
}

int TextLayout::Width() const {
  int width = 0;
  pango_layout_get_pixel_size(layout_, &width, nullptr);
  return width;
}

int TextLayout::Height() const {
  int height = 0;
  pango_layout_get_pixel_size(layout_, nullptr, &height);
  return height;
}

}  // namespace marrowleaf::platform
