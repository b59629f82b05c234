// Drawing on the framebuffer with Cairo and Pango, and the screen updates that show it.
#include "platform/mw/MWGraphics.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>
#include <mutex>
#include <string>
#include <unordered_map>

#include "Framebuffer.h"
#include "SmartBitmapAccess.h"
#include "TextLayout.h"
#include "UpdatePlanner.h"
#include "platform/sdk/screen.h"

using marrowleaf::platform::Framebuffer;
using marrowleaf::platform::TextLayout;
using marrowleaf::platform::UpdateKind;
using marrowleaf::platform::UpdatePlanner;

namespace {

// Widths remembered per thread, and the longest text whose width is remembered.
constexpr size_t kMaxRememberedWidths = 2048;
constexpr size_t kMaxRememberedWidthText = 256;

MWRect Intersect(const MWRect& a, const MWRect& b) {
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.x + a.w, b.x + b.w);
  const int bottom = std::min(a.y + a.h, b.y + b.h);
  if (right <= left || bottom <= top)
    return MWRect{left, top, 0, 0};
  return MWRect{left, top, right - left, bottom - top};
}

void SetColor(cairo_t* cairo, int color, double alpha = 1.0) {
  cairo_set_source_rgba(cairo, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                        (color & 0xFF) / 255.0, alpha);
}

// A rectangle path with corners of `radius` (clamped to half the shorter side).
void RoundedRectPath(cairo_t* cairo, double x, double y, double width, double height,
                     double radius) {
  radius = std::clamp(radius, 0.0, std::min(width, height) / 2);
  if (radius <= 0) {
    cairo_rectangle(cairo, x, y, width, height);
    return;
  }
  cairo_new_sub_path(cairo);
  cairo_arc(cairo, x + width - radius, y + radius, radius, -M_PI / 2, 0);
  cairo_arc(cairo, x + width - radius, y + height - radius, radius, 0, M_PI / 2);
  cairo_arc(cairo, x + radius, y + height - radius, radius, M_PI / 2, M_PI);
  cairo_arc(cairo, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
  cairo_close_path(cairo);
}

// What MarkDirty collected since the last flush. Drawing happens on the event-loop thread, but
// worker threads may ask for a redraw, so the planner is guarded.
struct PendingUpdates {
  std::mutex mutex;
  UpdatePlanner planner;
};

PendingUpdates& Pending() {
  static PendingUpdates* pending = new PendingUpdates();
  return *pending;
}

void Send(const UpdatePlanner::Update& update) {
  const MWRect& rect = update.rect;
  switch (update.kind) {
    case UpdateKind::kFull:
      FullUpdate();
      break;
    case UpdateKind::kSoft:
      SoftUpdate();
      break;
    case UpdateKind::kDynamic:
      DynamicUpdate(rect.x, rect.y, rect.w, rect.h);
      break;
    case UpdateKind::kPartial:
      PartialUpdate(rect.x, rect.y, rect.w, rect.h);
      break;
  }
}

}  // namespace

int GetDefaultFrameCertifiedThickness(int kind) {
  const int dpi = ScreenDpi() > 0 ? ScreenDpi() : 96;
  switch (kind) {
    case -1:
      return std::max(1, (dpi + 80) / 160);
    case -2:
      return std::max(2, (dpi + 50) / 100);
    case -3:
      return std::max(3, (dpi + 32) / 64);
    default:
      return kind;
  }
}

struct MWGraphics::Impl {
  cairo_t* cairo = nullptr;
  MWRect screen_rect;
  // Clips in screen coordinates: the one given at construction and the one in force.
  MWRect base_clip;
  MWRect clip;
  MWFont font;
  int text_color = MW_COLOR_BLACK;

  // Window coordinates with the clip in force; the caller holds the framebuffer's mutex.
  void ApplyClip() {
    cairo_identity_matrix(cairo);
    cairo_reset_clip(cairo);
    cairo_rectangle(cairo, clip.x, clip.y, clip.w, clip.h);
    cairo_clip(cairo);
    cairo_translate(cairo, screen_rect.x, screen_rect.y);
  }
  void Fill(const MWRect& rect, int color) {
    if (rect.IsEmpty())
      return;
    SetColor(cairo, color);
    cairo_rectangle(cairo, rect.x, rect.y, rect.w, rect.h);
    cairo_fill(cairo);
  }
};

MWGraphics::MWGraphics(const MWRect& screen_rect) : MWGraphics(screen_rect, screen_rect) {}

MWGraphics::MWGraphics(const MWRect& screen_rect, const MWRect& screen_clip)
    : impl_(std::make_unique<Impl>()) {
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  impl_->cairo = cairo_create(Framebuffer::Get().Surface());
  impl_->screen_rect = screen_rect;
  impl_->base_clip = Intersect(screen_rect, screen_clip);
  impl_->clip = impl_->base_clip;
  impl_->ApplyClip();
}

MWGraphics::~MWGraphics() {
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  cairo_destroy(impl_->cairo);
}

const MWRect& MWGraphics::ScreenRect() const {
  return impl_->screen_rect;
}

void MWGraphics::SetClip(const MWRect& rect) {
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  const MWRect screen{rect.x + impl_->screen_rect.x, rect.y + impl_->screen_rect.y, rect.w, rect.h};
  impl_->clip = Intersect(screen, impl_->base_clip);
  impl_->ApplyClip();
}

void MWGraphics::ResetClip() {
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  impl_->clip = impl_->base_clip;
  impl_->ApplyClip();
}

MWRect MWGraphics::ClipRect() const {
  return MWRect{impl_->clip.x - impl_->screen_rect.x, impl_->clip.y - impl_->screen_rect.y,
                impl_->clip.w, impl_->clip.h};
}

void MWGraphics::SetFont(const MWFont& font) {
  impl_->font = font;
}

const MWFont& MWGraphics::Font() const {
  return impl_->font;
}

void MWGraphics::SetTextColor(int color) {
  impl_->text_color = color;
}

void MWGraphics::FillRect(const MWRect& rect, int color) {
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  impl_->Fill(rect, color);
}

void MWGraphics::FillRoundRect(const MWRect& rect, int radius, int color) {
  if (rect.IsEmpty())
    return;
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  SetColor(impl_->cairo, color);
  RoundedRectPath(impl_->cairo, rect.x, rect.y, rect.w, rect.h, radius);
  cairo_fill(impl_->cairo);
}

void MWGraphics::DrawLine(int x1, int y1, int x2, int y2, int color, int thickness) {
  thickness = std::max(1, thickness);
  const int before = (thickness - 1) / 2;
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  // Horizontal and vertical lines cover whole pixels, end points included.
  if (y1 == y2) {
    impl_->Fill(MWRect{std::min(x1, x2), y1 - before, std::abs(x2 - x1) + 1, thickness}, color);
    return;
  }
  if (x1 == x2) {
    impl_->Fill(MWRect{x1 - before, std::min(y1, y2), thickness, std::abs(y2 - y1) + 1}, color);
    return;
  }
  SetColor(impl_->cairo, color);
  cairo_set_line_width(impl_->cairo, thickness);
  cairo_set_line_cap(impl_->cairo, CAIRO_LINE_CAP_SQUARE);
  cairo_move_to(impl_->cairo, x1 + 0.5, y1 + 0.5);
  cairo_line_to(impl_->cairo, x2 + 0.5, y2 + 0.5);
  cairo_stroke(impl_->cairo);
}

void MWGraphics::DrawDashedLine(int x1, int y1, int x2, int y2, int dash, int gap, int color,
                                int thickness) {
  dash = std::max(1, dash);
  gap = std::max(0, gap);
  if (gap == 0 || (x1 != x2 && y1 != y2)) {
    if (gap == 0) {
      DrawLine(x1, y1, x2, y2, color, thickness);
      return;
    }
    std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
    const double pattern[2] = {static_cast<double>(dash), static_cast<double>(gap)};
    cairo_save(impl_->cairo);
    SetColor(impl_->cairo, color);
    cairo_set_line_width(impl_->cairo, std::max(1, thickness));
    cairo_set_dash(impl_->cairo, pattern, 2, 0);
    cairo_move_to(impl_->cairo, x1 + 0.5, y1 + 0.5);
    cairo_line_to(impl_->cairo, x2 + 0.5, y2 + 0.5);
    cairo_stroke(impl_->cairo);
    cairo_restore(impl_->cairo);
    return;
  }
  // Axis-aligned dashes are whole pixels: dash pixels on, gap pixels off, from the first point.
  const int length = std::abs(x2 - x1) + std::abs(y2 - y1) + 1;
  const int step_x = x2 > x1 ? 1 : (x2 < x1 ? -1 : 0);
  const int step_y = y2 > y1 ? 1 : (y2 < y1 ? -1 : 0);
  for (int start = 0; start < length; start += dash + gap) {
    const int end = std::min(start + dash, length) - 1;
    DrawLine(x1 + step_x * start, y1 + step_y * start, x1 + step_x * end, y1 + step_y * end, color,
             thickness);
  }
}

void MWGraphics::DrawFrame(const MWRect& rect, int thickness, int color, int radius) {
  if (rect.IsEmpty())
    return;
  const int width =
      std::clamp(thickness < 0 ? GetDefaultFrameCertifiedThickness(thickness) : thickness, 1,
                 std::max(1, std::min(rect.w, rect.h) / 2));
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  if (radius <= 0) {
    impl_->Fill(MWRect{rect.x, rect.y, rect.w, width}, color);
    impl_->Fill(MWRect{rect.x, rect.y + rect.h - width, rect.w, width}, color);
    impl_->Fill(MWRect{rect.x, rect.y + width, width, rect.h - 2 * width}, color);
    impl_->Fill(MWRect{rect.x + rect.w - width, rect.y + width, width, rect.h - 2 * width}, color);
    return;
  }
  // The ring between the outer rounded rectangle and the inner one, whose corners follow the
  // outer ones at the frame's width.
  cairo_t* cairo = impl_->cairo;
  cairo_save(cairo);
  SetColor(cairo, color);
  cairo_set_fill_rule(cairo, CAIRO_FILL_RULE_EVEN_ODD);
  RoundedRectPath(cairo, rect.x, rect.y, rect.w, rect.h, radius);
  RoundedRectPath(cairo, rect.x + width, rect.y + width, rect.w - 2 * width, rect.h - 2 * width,
                  std::max(0, radius - width));
  cairo_fill(cairo);
  cairo_restore(cairo);
}

void MWGraphics::DrawDashedFrame(const MWRect& rect, int dash, int gap, int color, int thickness) {
  if (rect.IsEmpty())
    return;
  const int right = rect.x + rect.w - 1;
  const int bottom = rect.y + rect.h - 1;
  const int before = (std::max(1, thickness) - 1) / 2;
  // Each edge sits inside the rectangle, so the frame never leaves it.
  DrawDashedLine(rect.x, rect.y + before, right, rect.y + before, dash, gap, color, thickness);
  DrawDashedLine(rect.x, bottom - (thickness - 1 - before), right,
                 bottom - (thickness - 1 - before), dash, gap, color, thickness);
  DrawDashedLine(rect.x + before, rect.y, rect.x + before, bottom, dash, gap, color, thickness);
  DrawDashedLine(right - (thickness - 1 - before), rect.y, right - (thickness - 1 - before), bottom,
                 dash, gap, color, thickness);
}

void MWGraphics::Transparent(const MWRect& rect, int percent) {
  if (rect.IsEmpty())
    return;
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  SetColor(impl_->cairo, MW_COLOR_BLACK, std::clamp(percent, 0, 100) / 100.0);
  cairo_rectangle(impl_->cairo, rect.x, rect.y, rect.w, rect.h);
  cairo_fill(impl_->cairo);
}

void MWGraphics::TransparentGradient(const MWRect& rect, MWGradientDirection direction, int color) {
  if (rect.IsEmpty())
    return;
  const bool up = direction == MW_GRADIENT_UP;
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  cairo_pattern_t* gradient = cairo_pattern_create_linear(0, rect.y, 0, rect.y + rect.h);
  const double red = ((color >> 16) & 0xFF) / 255.0;
  const double green = ((color >> 8) & 0xFF) / 255.0;
  const double blue = (color & 0xFF) / 255.0;
  cairo_pattern_add_color_stop_rgba(gradient, 0, red, green, blue, up ? 1 : 0);
  cairo_pattern_add_color_stop_rgba(gradient, 1, red, green, blue, up ? 0 : 1);
  cairo_set_source(impl_->cairo, gradient);
  cairo_rectangle(impl_->cairo, rect.x, rect.y, rect.w, rect.h);
  cairo_fill(impl_->cairo);
  cairo_pattern_destroy(gradient);
}

int MWGraphics::DrawText(const MWRect& rect, const std::string& text, unsigned flags) {
  if (rect.IsEmpty() || text.empty())
    return 0;
  TextLayout layout(impl_->font, text, rect.w, rect.h, flags);
  const int width = layout.Width();
  const int height = layout.Height();
  int x = rect.x;
  // A layout without a width is not aligned by Pango.
  if (!(flags & (MW_TEXT_WRAP | MW_TEXT_ELLIPSIS))) {
    if (flags & MW_TEXT_HCENTER)
      x += (rect.w - width) / 2;
    else if (flags & MW_TEXT_RIGHT)
      x += rect.w - width;
  }
  int y = rect.y;
  if (flags & MW_TEXT_VCENTER)
    y += (rect.h - height) / 2;
  else if (flags & MW_TEXT_BOTTOM)
    y += rect.h - height;
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  cairo_t* cairo = impl_->cairo;
  cairo_save(cairo);
  cairo_rectangle(cairo, rect.x, rect.y, rect.w, rect.h);
  cairo_clip(cairo);
  SetColor(cairo, impl_->text_color);
  cairo_move_to(cairo, x, y);
  pango_cairo_show_layout(cairo, layout.Get());
  cairo_restore(cairo);
  return std::min(height, rect.h);
}

int MWGraphics::StringWidth(const std::string& text) const {
  return StringWidth(impl_->font, text);
}

int MWGraphics::TextRectHeight(int width, const std::string& text, unsigned flags) const {
  return TextRectHeight(impl_->font, width, text, flags);
}

int MWGraphics::StringWidth(const MWFont& font, const std::string& text) {
  if (text.empty())
    return 0;
  if (text.size() > kMaxRememberedWidthText)
    return TextLayout(font, text, 0, 0, MW_TEXT_LEFT).Width();
  // The same labels (a header's title, "More", a badge) are measured again at every page turn, and
  // each measure lays the text out with Pango anew; a width depends on nothing but the font's
  // family, pixel size, style and case and the text, and Pango's context is fixed per thread.
  thread_local std::unordered_map<std::string, int> widths;
  std::string key = font.family + '\n' + std::to_string(font.PixelSize()) +
                    (font.bold ? 'b' : '-') + (font.italic ? 'i' : '-') +
                    (font.IsUpperCase() ? 'U' : '-') + '\n' + text;
  const auto found = widths.find(key);
  if (found != widths.end())
    return found->second;
  if (widths.size() >= kMaxRememberedWidths)
    widths.clear();
  const int width = TextLayout(font, text, 0, 0, MW_TEXT_LEFT).Width();
  widths.emplace(std::move(key), width);
  return width;
}

int MWGraphics::TextRectHeight(const MWFont& font, int width, const std::string& text,
                               unsigned flags) {
  if (text.empty())
    return 0;
  const unsigned wrapped = (flags & ~static_cast<unsigned>(MW_TEXT_ELLIPSIS)) | MW_TEXT_WRAP;
  return TextLayout(font, text, std::max(1, width), 0, wrapped).Height();
}

int MWGraphics::LineHeight(const MWFont& font) {
  return TextLayout(font, "Ag", 0, 0, MW_TEXT_LEFT).Height();
}

void MWGraphics::DrawBitmap(int x, int y, const SmartBitmap& bitmap) {
  if (bitmap.IsEmpty())
    return;
  cairo_surface_t* source = SmartBitmapAccess::Surface(bitmap);
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  cairo_set_source_surface(impl_->cairo, source, x, y);
  cairo_rectangle(impl_->cairo, x, y, bitmap.Width(), bitmap.Height());
  cairo_fill(impl_->cairo);
  // Drop the source before its surface (and its pixels) may go.
  cairo_set_source_rgb(impl_->cairo, 0, 0, 0);
  cairo_surface_destroy(source);
}

void MWGraphics::DrawBitmap(int x, int y, const SmartBitmap& bitmap, const MWRect& clip) {
  const MWRect previous = ClipRect();
  SetClip(Intersect(previous, clip));
  DrawBitmap(x, y, bitmap);
  SetClip(previous);
}

void MWGraphics::StretchBitmap(const MWRect& rect, const SmartBitmap& bitmap) {
  if (bitmap.IsEmpty() || rect.IsEmpty())
    return;
  cairo_surface_t* source = SmartBitmapAccess::Surface(bitmap);
  std::lock_guard<std::mutex> lock(Framebuffer::Get().Mutex());
  cairo_t* cairo = impl_->cairo;
  cairo_save(cairo);
  cairo_rectangle(cairo, rect.x, rect.y, rect.w, rect.h);
  cairo_clip(cairo);
  cairo_translate(cairo, rect.x, rect.y);
  cairo_scale(cairo, static_cast<double>(rect.w) / bitmap.Width(),
              static_cast<double>(rect.h) / bitmap.Height());
  cairo_set_source_surface(cairo, source, 0, 0);
  cairo_pattern_set_filter(cairo_get_source(cairo), CAIRO_FILTER_BILINEAR);
  cairo_pattern_set_extend(cairo_get_source(cairo), CAIRO_EXTEND_PAD);
  cairo_paint(cairo);
  cairo_restore(cairo);
  cairo_surface_destroy(source);
}

void MWGraphics::MarkDirty(const MWRect& screen_rect, int kind) {
  std::lock_guard<std::mutex> lock(Pending().mutex);
  Pending().planner.Mark(screen_rect, kind);
}

void MWGraphics::MarkFullUpdate() {
  std::lock_guard<std::mutex> lock(Pending().mutex);
  Pending().planner.MarkFull();
}

int MWGraphics::CurrentUpdateType() {
  std::lock_guard<std::mutex> lock(Pending().mutex);
  return Pending().planner.StrongestKind();
}

int MWGraphics::FlushUpdates() {
  std::vector<UpdatePlanner::Update> updates;
  {
    std::lock_guard<std::mutex> lock(Pending().mutex);
    if (!Pending().planner.HasPending())
      return 0;
    updates = Pending().planner.Take(ScreenWidth(), ScreenHeight());
  }
  // The display back-end reads the framebuffer while it shows an update, so no lock is held here.
  for (const UpdatePlanner::Update& update : updates) Send(update);
  return static_cast<int>(updates.size());
}

void MWGraphics::DiscardUpdates() {
  std::lock_guard<std::mutex> lock(Pending().mutex);
  Pending().planner.Clear();
}

void MWGraphics::SetPartialFlushesPerFullUpdate(int n) {
  std::lock_guard<std::mutex> lock(Pending().mutex);
  Pending().planner.SetPartialFlushesPerFull(std::max(0, n));
}
