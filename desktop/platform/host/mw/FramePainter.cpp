#include "FramePainter.h"

#include <string>
#include <vector>

#include "ScreenState.h"
#include "platform/mw/MWGraphics.h"
#include "platform/mw/MWWindow.h"

namespace marrowleaf::platform {
namespace {

struct Repaint {
  MWWindow* window;
  MWRect visible;
};

// Changed windows, outermost first; a changed window's descendants are drawn with it.
void Collect(MWWindow* window, const MWRect& clip, std::vector<Repaint>* out) {
  if (!window->IsVisible())
    return;
  const MWRect visible = window->ScreenRect().Intersect(clip);
  if (visible.IsEmpty())
    return;
  if (window->IsChanged()) {
    out->push_back({window, visible});
    return;
  }
  for (MWWindow* child : window->Children()) Collect(child, visible, out);
}

MWWindow* OpaqueAncestor(MWWindow* window) {
  MWWindow* current = window;
  while (current->GetBackgroundColor() < 0 && current->GetParent() != nullptr) {
    current = current->GetParent();
  }
  return current;
}

}  // namespace

int FramePainter::PaintChanged(MWWindow& frame) {
  std::vector<Repaint> repaints;
  Collect(&frame, frame.ScreenRect(), &repaints);
  for (const Repaint& repaint : repaints) {
    if (!MWWindow::IsAlive(repaint.window))
      continue;
    const bool pressed = repaint.window->HasExStyle(MWES_PRESSED);
    OpaqueAncestor(repaint.window)->Paint(repaint.visible);
    MWGraphics::MarkDirty(repaint.visible, pressed ? MW_UPDATE_DYNAMIC : MW_UPDATE_PARTIAL);
  }
  return static_cast<int>(repaints.size());
}

namespace {

PanelContent& LastPaintedPanel() {
  static auto* panel = new PanelContent();
  return *panel;
}

bool SamePanel(const PanelContent& a, const PanelContent& b) {
  return a.icon == b.icon && a.text == b.text && a.title == b.title && a.percent == b.percent;
}

}  // namespace

bool FramePainter::PanelChanged() {
  return !SamePanel(ScreenState::Get().Panel(), LastPaintedPanel());
}

void FramePainter::PaintPanel(const MWRect& screen_rect) {
  const PanelContent panel = ScreenState::Get().Panel();
  LastPaintedPanel() = panel;
  MWGraphics graphics(screen_rect);
  const MWRect local{0, 0, screen_rect.w, screen_rect.h};
  graphics.FillRect(local, MW_COLOR_WHITE);
  graphics.DrawLine(0, 0, local.w, 0, MW_COLOR_BLACK, GetDefaultFrameCertifiedThickness(-1));
  MWFont font;
  font.size = 8;
  graphics.SetFont(font);
  const int margin = local.h / 4;
  const MWRect text_rect{margin, 0, local.w - 2 * margin, local.h};
  graphics.DrawText(text_rect, panel.title, MW_TEXT_LEFT | MW_TEXT_VCENTER | MW_TEXT_ELLIPSIS);
  graphics.DrawText(text_rect, panel.text, MW_TEXT_RIGHT | MW_TEXT_VCENTER | MW_TEXT_ELLIPSIS);
}

}  // namespace marrowleaf::platform
