#include "FramePainter.h"

#include <algorithm>
#include <map>
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

// Shown windows above a repaint (after it or one of its ancestors among their siblings) that overlap
// it: drawing the window must not paint over a menu or a box that lies on it, so they are drawn
// again where they overlap.
void CollectCovering(const Repaint& repaint, std::vector<Repaint>* out) {
  for (MWWindow* child = repaint.window; child->GetParent() != nullptr; child = child->GetParent()) {
    const std::vector<MWWindow*>& siblings = child->GetParent()->Children();
    auto above = std::find(siblings.begin(), siblings.end(), child);
    if (above == siblings.end())
      continue;
    for (++above; above != siblings.end(); ++above) {
      if (!(*above)->IsVisible())
        continue;
      const MWRect overlap = (*above)->ScreenRect().Intersect(repaint.visible);
      if (!overlap.IsEmpty())
        out->push_back({*above, overlap});
    }
  }
}

// Each window's place in the drawing order: a window is drawn after its ancestors and the
// siblings before it, with all it holds.
void NumberInDrawingOrder(MWWindow* window, std::map<const MWWindow*, int>* order) {
  order->emplace(window, static_cast<int>(order->size()));
  for (MWWindow* child : window->Children()) NumberInDrawingOrder(child, order);
}

// The windows above the changed ones join the pass, and the pass draws in the windows' order.
void AddCoveringWindows(MWWindow& frame, std::vector<Repaint>* repaints) {
  std::vector<Repaint> covering;
  for (const Repaint& repaint : *repaints) CollectCovering(repaint, &covering);
  if (covering.empty())
    return;
  // A window is drawn again over every changed window it covers; only a window that changed
  // itself (and is drawn whole) needs no part of its own.
  const std::vector<Repaint> changed = *repaints;
  for (const Repaint& extra : covering) {
    const bool drawn_whole = std::any_of(changed.begin(), changed.end(),
                                         [&](const Repaint& r) { return r.window == extra.window; });
    if (!drawn_whole)
      repaints->push_back(extra);
  }
  std::map<const MWWindow*, int> order;
  NumberInDrawingOrder(&frame, &order);
  std::stable_sort(repaints->begin(), repaints->end(), [&](const Repaint& a, const Repaint& b) {
    return order[a.window] < order[b.window];
  });
}

MWWindow* OpaqueAncestor(MWWindow* window) {
  MWWindow* current = window;
  while (current->GetBackgroundColor() < 0 && current->GetParent() != nullptr) {
    current = current->GetParent();
  }
  return current;
}

// Areas waiting for the next pass; only the event-loop thread draws.
std::vector<MWRect>& Uncovered() {
  static auto* areas = new std::vector<MWRect>();
  return *areas;
}

}  // namespace

void FramePainter::MarkUncovered(const MWRect& area) {
  if (!area.IsEmpty())
    Uncovered().push_back(area);
}

int FramePainter::PaintChanged(MWWindow& frame) {
  std::vector<MWRect> uncovered;
  uncovered.swap(Uncovered());
  for (const MWRect& area : uncovered) {
    // White where the frame doesn't reach, as on a cleared screen.
    MWGraphics(area).FillRect(MWRect{0, 0, area.w, area.h}, MW_COLOR_WHITE);
    frame.Paint(area);
    // What a box leaves may keep its ghost on the panel.
    MWGraphics::MarkDirty(area, MW_UPDATE_CLEAN);
  }
  std::vector<Repaint> repaints;
  Collect(&frame, frame.ScreenRect(), &repaints);
  const size_t changed = repaints.size();
  AddCoveringWindows(frame, &repaints);
  for (const Repaint& repaint : repaints) {
    if (!MWWindow::IsAlive(repaint.window))
      continue;
    const bool pressed = repaint.window->HasExStyle(MWES_PRESSED);
    OpaqueAncestor(repaint.window)->Paint(repaint.visible);
    MWGraphics::MarkDirty(repaint.visible, pressed ? MW_UPDATE_DYNAMIC : MW_UPDATE_PARTIAL);
  }
  return static_cast<int>(changed);
}

namespace {

PanelContent& LastPaintedPanel() {
  static auto* panel = new PanelContent();
  return *panel;
}

}  // namespace

bool FramePainter::PanelChanged() {
  return !(ScreenState::Get().Panel() == LastPaintedPanel());
}

void FramePainter::PaintPanel(const MWRect& /*screen_rect*/) {
  // The panel belongs to the system: the display paints it when the update of its rectangle
  // reaches the screen. The frame only remembers what it asked to be shown.
  LastPaintedPanel() = ScreenState::Get().Panel();
}

}  // namespace marrowleaf::platform
