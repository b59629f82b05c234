#include "DialogPainter.h"

#include <algorithm>
#include <string>

#include "DialogLayer.h"
#include "platform/mw/MWColor.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/screen.h"

namespace marrowleaf::platform {
namespace {

// Millimetres to pixels of this screen.
int Mm(double mm) {
  const int dpi = ScreenDpi() > 0 ? ScreenDpi() : 96;
  return std::max(1, static_cast<int>(mm * dpi / 25.4 + 0.5));
}

MWFont TitleFont() {
  MWFont font;
  font.size = 11;
  font.bold = true;
  return font;
}

MWFont TextFont() {
  MWFont font;
  font.size = 10;
  return font;
}

MWFont ButtonFont() {
  MWFont font;
  font.size = 10;
  font.bold = true;
  return font;
}

constexpr unsigned kTitleFlags = MW_TEXT_LEFT | MW_TEXT_VCENTER | MW_TEXT_WRAP | MW_TEXT_ELLIPSIS;
constexpr unsigned kTextFlags = MW_TEXT_LEFT | MW_TEXT_WRAP | MW_TEXT_ELLIPSIS;
constexpr unsigned kCaptionFlags = MW_TEXT_HCENTER | MW_TEXT_VCENTER | MW_TEXT_ELLIPSIS;
constexpr int kMaxTitleLines = 2;
// The rule between the title and the text: a mid grey that reads as a line, not as text.
constexpr int kRuleColor = MWGreyLevel(7);
constexpr int kPressedColor = MWGreyLevel(5);

// A white margin around the frame keeps the box apart from busy pictures under it.
int Halo() {
  return Mm(1);
}

bool HasIcon(int icon) {
  return icon >= ICON_INFORMATION && icon <= ICON_ERROR;
}

// The height of at most `lines` lines of a text wrapped to width, in whole lines.
int WrappedHeight(const MWFont& font, int width, const std::string& text, int lines) {
  const int line = std::max(1, MWGraphics::LineHeight(font));
  return std::min(MWGraphics::TextRectHeight(font, width, text, MW_TEXT_WRAP), line * lines);
}

}  // namespace

DialogPainter::Geometry DialogPainter::Layout(const DialogBox& box) {
  const int inset = Halo() + GetDefaultFrameCertifiedThickness(-3) + Mm(4);
  const int screen_width = ScreenWidth();
  const int room_height = std::max(1, ScreenHeight() - std::max(0, PanelHeight()));
  const int title_line = MWGraphics::LineHeight(TitleFont());
  const int icon_size = HasIcon(box.icon) ? std::max(title_line * 5 / 4, Mm(6)) : 0;
  const int title_x = icon_size > 0 ? icon_size + Mm(3) : 0;
  int width = std::max(Mm(20), std::min(screen_width - 2 * Mm(5), Mm(100)));
  if (box.buttons.empty()) {
    // A message is as wide as its words need, within the width of a dialog.
    const int natural = std::max(title_x + MWGraphics::StringWidth(TitleFont(), box.title),
                                 MWGraphics::StringWidth(TextFont(), box.text));
    width = std::clamp(natural + 2 * inset, std::min(width, Mm(50)), width);
  }
  const int inner = width - 2 * inset;
  Geometry geometry;

  // Header: the icon, and the title beside it.
  const int title_height =
      WrappedHeight(TitleFont(), inner - title_x, box.title, kMaxTitleLines);
  const int header = std::max(icon_size, title_height);
  geometry.icon = MWRect{inset, inset + (header - icon_size) / 2, icon_size, icon_size};
  geometry.title = MWRect{inset + title_x, inset, inner - title_x, header};
  int y = inset + header;

  // Buttons: one row of equal buttons at the bottom.
  const int buttons = static_cast<int>(box.buttons.size());
  const int button_height = buttons > 0 ? MWGraphics::LineHeight(ButtonFont()) + Mm(5) : 0;
  const int buttons_block = buttons > 0 ? Mm(6) + button_height : 0;

  // Text: under a rule, as many whole lines as the screen leaves room for.
  if (!box.text.empty()) {
    const int gap = Mm(3);
    geometry.rule = MWRect{inset, y + gap, inner, GetDefaultFrameCertifiedThickness(-1)};
    y = geometry.rule.Bottom() + gap;
    const int text_line = std::max(1, MWGraphics::LineHeight(TextFont()));
    const int room = room_height - 2 * Mm(5) - y - buttons_block - inset;
    const int lines = std::max(1, room / text_line);
    geometry.text = MWRect{inset, y, inner, WrappedHeight(TextFont(), inner, box.text, lines)};
    y = geometry.text.Bottom();
  }

  if (buttons > 0) {
    const int gap = Mm(3);
    const int button_width = (inner - gap * (buttons - 1)) / buttons;
    const int top = y + Mm(6);
    for (int i = 0; i < buttons; ++i) {
      geometry.buttons.push_back(
          MWRect{inset + i * (button_width + gap), top, button_width, button_height});
    }
    y = top + button_height;
  }

  const int height = y + inset;
  geometry.box = MWRect{(screen_width - width) / 2, std::max(0, (room_height - height) / 2), width,
                        height};
  return geometry;
}

void DialogPainter::Place(DialogBox* box) {
  const Geometry geometry = Layout(*box);
  box->rect = geometry.box;
  box->button_rects.clear();
  for (const MWRect& button : geometry.buttons)
    box->button_rects.push_back(button.Offset(geometry.box.x, geometry.box.y));
}

void DialogPainter::Show(const MWRect& area, int update_kind) {
  MWGraphics::MarkDirty(area, update_kind);
  MWGraphics::FlushUpdates();
}

void DialogPainter::PaintFor(const MWRect& update) {
  for (const DialogBox& box : DialogLayer::Get().Boxes()) {
    if (!box.rect.Intersect(update).IsEmpty())
      Paint(box);
  }
}

void DialogPainter::PaintAll() {
  for (const DialogBox& box : DialogLayer::Get().Boxes()) Paint(box);
}

void DialogPainter::Paint(const DialogBox& box) {
  const Geometry geometry = Layout(box);
  MWGraphics graphics(geometry.box);
  const int halo = Halo();
  const int radius = Mm(1.5);
  graphics.FillRoundRect(MWRect{0, 0, geometry.box.w, geometry.box.h}, radius + halo,
                         MW_COLOR_WHITE);
  graphics.DrawFrame(MWRect{halo, halo, geometry.box.w - 2 * halo, geometry.box.h - 2 * halo}, -3,
                     MW_COLOR_BLACK, radius);
  PaintIcon(graphics, geometry.icon, box.icon);
  graphics.SetTextColor(MW_COLOR_BLACK);
  graphics.SetFont(TitleFont());
  graphics.DrawText(geometry.title, box.title, kTitleFlags);
  graphics.FillRect(geometry.rule, kRuleColor);
  graphics.SetFont(TextFont());
  graphics.DrawText(geometry.text, box.text, kTextFlags);
  graphics.SetFont(ButtonFont());
  for (size_t i = 0; i < geometry.buttons.size() && i < box.buttons.size(); ++i) {
    const int index = static_cast<int>(i);
    PaintButton(graphics, geometry.buttons[i], box.buttons[i], index == box.focused,
                index == box.pressed);
  }
}

void DialogPainter::PaintButton(MWGraphics& graphics, const MWRect& rect,
                                const std::string& caption, bool focused, bool pressed) {
  const int radius = Mm(1);
  const int inset = Mm(1.5);
  const bool dark = focused || pressed;
  graphics.FillRoundRect(rect, radius, pressed ? kPressedColor : (focused ? MW_COLOR_BLACK
                                                                          : MW_COLOR_WHITE));
  if (!dark)
    graphics.DrawFrame(rect, -2, MW_COLOR_BLACK, radius);
  graphics.SetTextColor(dark ? MW_COLOR_WHITE : MW_COLOR_BLACK);
  graphics.DrawText(MWRect{rect.x + inset, rect.y, rect.w - 2 * inset, rect.h}, caption,
                    kCaptionFlags);
  graphics.SetTextColor(MW_COLOR_BLACK);
}

// Information and question: a ring with "i" or "?"; warning: a black triangle with "!"; error: a
// black disc with a white cross. The shapes tell them apart without colour.
void DialogPainter::PaintIcon(MWGraphics& graphics, const MWRect& rect, int icon) {
  if (!HasIcon(icon) || rect.IsEmpty())
    return;
  const char* sign = "i";
  bool light = true;
  MWRect sign_rect = rect;
  switch (icon) {
    case ICON_QUESTION:
      sign = "?";
      break;
    case ICON_WARNING: {
      sign = "!";
      light = false;
      // Filled row by row: crisp edges on an e-ink panel.
      for (int row = 0; row < rect.h; ++row) {
        const int half = (row + 1) * rect.w / (2 * rect.h);
        graphics.FillRect(MWRect{rect.x + rect.w / 2 - half, rect.y + row, 2 * half, 1},
                          MW_COLOR_BLACK);
      }
      // The sign sits in the wide lower part of the triangle.
      sign_rect = MWRect{rect.x, rect.y + rect.h / 4, rect.w, rect.h * 3 / 4};
      break;
    }
    case ICON_ERROR: {
      // A cross of two strokes: a glyph of the font would be too small in the disc.
      graphics.FillRoundRect(rect, rect.w / 2, MW_COLOR_BLACK);
      const int arm = rect.w / 6;
      const int thickness = std::max(2, rect.w / 9);
      const int cx = rect.x + rect.w / 2;
      const int cy = rect.y + rect.h / 2;
      graphics.DrawLine(cx - arm, cy - arm, cx + arm, cy + arm, MW_COLOR_WHITE, thickness);
      graphics.DrawLine(cx - arm, cy + arm, cx + arm, cy - arm, MW_COLOR_WHITE, thickness);
      return;
    }
    default:
      break;
  }
  if (light)
    graphics.DrawFrame(rect, -3, MW_COLOR_BLACK, rect.w / 2);
  MWFont font;
  font.size = 10;
  font.bold = true;
  font.family = "DejaVu Sans";
  // The sign fills about half of the icon whatever the screen.
  while (font.size < 40 && MWGraphics::LineHeight(font) < rect.h * 4 / 5) ++font.size;
  graphics.SetFont(font);
  graphics.SetTextColor(light ? MW_COLOR_BLACK : MW_COLOR_WHITE);
  graphics.DrawText(sign_rect, sign, MW_TEXT_HCENTER | MW_TEXT_VCENTER);
  graphics.SetTextColor(MW_COLOR_BLACK);
}

}  // namespace marrowleaf::platform
