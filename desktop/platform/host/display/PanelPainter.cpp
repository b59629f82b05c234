#include "PanelPainter.h"

#include <algorithm>
#include <string>

#include "ScreenState.h"
#include "platform/mw/MWColor.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/screen.h"

namespace marrowleaf::platform {
namespace {

bool Intersects(const MWRect& a, const MWRect& b) {
  return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// A full battery: its body, its cap, and the charge inside.
void DrawBattery(MWGraphics& graphics, const MWRect& panel) {
  const int height = std::max(6, panel.h * 2 / 5);
  const int width = height * 2;
  const int line = std::max(1, height / 8);
  const MWRect body{panel.w - width - height, (panel.h - height) / 2, width, height};
  graphics.DrawFrame(body, line, MW_COLOR_BLACK, line);
  graphics.FillRect(MWRect{body.x + body.w, body.y + height / 4, line * 2, height / 2},
                    MW_COLOR_BLACK);
  const int inset = line * 2;
  graphics.FillRect(MWRect{body.x + inset, body.y + inset, body.w - 2 * inset, body.h - 2 * inset},
                    MW_COLOR_BLACK);
}

// The network's signal: four bars rising to the right, ending at x.
void DrawNetwork(MWGraphics& graphics, const MWRect& panel, int right) {
  const int height = std::max(8, panel.h / 2);
  const int bar = std::max(2, height / 5);
  const int bottom = (panel.h + height) / 2;
  for (int n = 0; n < 4; ++n) {
    const int bar_height = height * (n + 1) / 4;
    graphics.FillRect(MWRect{right - (4 - n) * bar * 3 / 2, bottom - bar_height, bar, bar_height},
                      MW_COLOR_BLACK);
  }
}

// The count of notifications the reader has not seen: a black disc with the number, left of x.
void DrawNotifications(MWGraphics& graphics, const MWRect& panel, int right, int count) {
  const int size = std::max(10, panel.h * 3 / 5);
  const MWRect disc{right - size, (panel.h - size) / 2, size, size};
  graphics.FillRoundRect(disc, size / 2, MW_COLOR_BLACK);
  MWFont font;
  font.size = 7;
  font.bold = true;
  graphics.SetFont(font);
  graphics.SetTextColor(MW_COLOR_WHITE);
  graphics.DrawText(disc, count > 9 ? "9+" : std::to_string(count),
                    MW_TEXT_HCENTER | MW_TEXT_VCENTER);
  graphics.SetTextColor(MW_COLOR_BLACK);
}

}  // namespace

MWRect PanelPainter::Rect() {
  const int height = std::clamp(PanelHeight(), 0, ScreenHeight());
  return MWRect{0, ScreenHeight() - height, ScreenWidth(), height};
}

void PanelPainter::PaintFor(const MWRect& update) {
  const MWRect panel = Rect();
  if (!panel.IsEmpty() && Intersects(panel, update))
    Paint();
}

void PanelPainter::Paint() {
  const MWRect panel = Rect();
  if (panel.IsEmpty())
    return;
  const PanelContent content = ScreenState::Get().Panel();
  MWGraphics graphics(panel);
  const MWRect local{0, 0, panel.w, panel.h};
  graphics.FillRect(local, MW_COLOR_WHITE);
  graphics.DrawLine(0, 0, panel.w - 1, 0, MW_COLOR_BLACK, GetDefaultFrameCertifiedThickness(-1));
  MWFont font;
  font.size = 8;
  graphics.SetFont(font);
  const int margin = panel.h / 3;
  std::string caption = content.title;
  if (!content.text.empty())
    caption += caption.empty() ? content.text : "  " + content.text;
  graphics.DrawText(MWRect{margin, 0, panel.w * 2 / 3, panel.h}, caption,
                    MW_TEXT_LEFT | MW_TEXT_VCENTER | MW_TEXT_ELLIPSIS);
  DrawBattery(graphics, local);
  // Left of the battery: the network, then the unseen notifications.
  int right = panel.w - panel.h * 2;
  if (content.network) {
    DrawNetwork(graphics, local, right);
    right -= panel.h;
  }
  if (content.notifications > 0)
    DrawNotifications(graphics, local, right, content.notifications);
  // The key focus on the panel: a thick frame around it, as around a focused tile.
  if (content.focused)
    graphics.DrawFrame(local, GetDefaultFrameCertifiedThickness(-3), MW_COLOR_BLACK);
  const int transparency = ScreenState::Get().PanelTransparency();
  if (transparency > 0)
    graphics.Transparent(local, transparency);
}

}  // namespace marrowleaf::platform
