#include "TypographicCover.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cstdint>

#include "PictureDecoder.h"

namespace marrowleaf::platform {
namespace {

// Muted colours that keep black type readable and turn into distinct light greys on e-ink.
constexpr int kBackgrounds[] = {0xE8DCC4, 0xC9D6DF, 0xD8E2C8, 0xE6CFCF, 0xD9D2E6, 0xEFE6B8};

void SetColor(cairo_t* cairo, int color) {
  cairo_set_source_rgb(cairo, ((color >> 16) & 0xff) / 255.0, ((color >> 8) & 0xff) / 255.0,
                       (color & 0xff) / 255.0);
}

// Draws text centred in a box; returns the height it took.
int DrawBlock(cairo_t* cairo, const std::string& text, const char* face, int size_px, int x, int y,
              int width, int max_height) {
  PangoLayout* layout = pango_cairo_create_layout(cairo);
  PangoFontDescription* font = pango_font_description_from_string(face);
  pango_font_description_set_absolute_size(font, size_px * PANGO_SCALE);
  pango_layout_set_font_description(layout, font);
  pango_layout_set_width(layout, width * PANGO_SCALE);
  pango_layout_set_height(layout, max_height * PANGO_SCALE);
  pango_layout_set_wrap(layout, PANGO_WRAP_WORD_CHAR);
  pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
  pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
  pango_layout_set_text(layout, text.c_str(), static_cast<int>(text.size()));
  int text_width = 0;
  int text_height = 0;
  pango_layout_get_pixel_size(layout, &text_width, &text_height);
  cairo_move_to(cairo, x, y);
  pango_cairo_show_layout(cairo, layout);
  pango_font_description_free(font);
  g_object_unref(layout);
  return text_height;
}

}  // namespace

int TypographicCover::BackgroundFor(const std::string& title) {
  uint32_t hash = 2166136261u;
  for (char c : title) hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
  return kBackgrounds[hash % (sizeof kBackgrounds / sizeof kBackgrounds[0])];
}

SmartBitmap TypographicCover::Make(const std::string& title, const std::string& author, int width,
                                   int height, int format) {
  SmartBitmap bitmap = SmartBitmap::Create(width, height, BackgroundFor(title));
  if (bitmap.IsEmpty() || width < 16 || height < 16)
    return SmartBitmap();
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(bitmap.MutableData()),
                                          CAIRO_FORMAT_ARGB32, width, height, bitmap.Stride());
  cairo_t* cairo = cairo_create(surface);
  const int margin = std::max(4, width / 10);
  const int inner = width - 2 * margin;
  // A double frame inset from the edge, as classic cloth bindings have.
  SetColor(cairo, 0x303030);
  cairo_set_line_width(cairo, std::max(1.0, width / 150.0));
  cairo_rectangle(cairo, margin / 2.0, margin / 2.0, width - margin, height - margin);
  cairo_stroke(cairo);
  const std::string shown_title = title.empty() ? std::string("Untitled") : title;
  const int title_px = std::max(8, width / 9);
  const int title_top = height / 5;
  const int title_height = DrawBlock(cairo, shown_title, "DejaVu Serif Bold", title_px, margin,
                                     title_top, inner, height / 2);
  const int rule_y = title_top + title_height + title_px / 2;
  cairo_move_to(cairo, width / 2.0 - inner / 4.0, rule_y);
  cairo_line_to(cairo, width / 2.0 + inner / 4.0, rule_y);
  cairo_stroke(cairo);
  if (!author.empty()) {
    DrawBlock(cairo, author, "DejaVu Serif Italic", std::max(6, width / 16), margin,
              rule_y + title_px / 2, inner, height - rule_y - margin);
  }
  cairo_destroy(cairo);
  cairo_surface_flush(surface);
  cairo_surface_destroy(surface);
  if (format != SMART_BITMAP_COLOR)
    PictureDecoder::ToGrey(bitmap);
  return bitmap;
}

}  // namespace marrowleaf::platform
