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
  const int transparency = ScreenState::Get().PanelTransparency();
  if (transparency > 0)
    graphics.Transparent(local, transparency);
}

}  // namespace marrowleaf::platform
