#include "platform/mw/MWScrollView.h"

#include <algorithm>
#include <cstdlib>

#include "platform/mw/MWGraphics.h"
#include "platform/sdk/events.h"
#include "platform/sdk/screen.h"

namespace {

// The pen must travel this far (1/16 inch) before a press becomes a drag.
int DragThreshold() {
  const int dpi = ScreenDpi();
  return std::max(4, (dpi > 0 ? dpi : 160) / 16);
}

}  // namespace

void MWScrollView::SetContentHeight(int height) {
  content_height_ = std::max(0, height);
  ScrollTo(scroll_y_);
}

void MWScrollView::ScrollTo(int y) {
  const int limit = std::max(0, content_height_ - VisibleHeight());
  const int position = std::clamp(y, 0, limit);
  if (position == scroll_y_)
    return;
  scroll_y_ = position;
  MarkAsChanged();
  if (a2_)
    MWGraphics::MarkDirty(ScreenRect(), MW_UPDATE_DYNAMIC);
}

MWRect MWScrollView::VisibleRect() const {
  const MWRect client = GetClientRect();
  return MWRect{0, scroll_y_, client.w, client.h};
}

void MWScrollView::EnsureVisible(const MWRect& content_rect) {
  const MWRect visible = VisibleRect();
  if (content_rect.y < visible.y) {
    ScrollTo(content_rect.y);
  } else if (content_rect.Bottom() > visible.Bottom()) {
    ScrollTo(content_rect.Bottom() - visible.h);
  }
}

void MWScrollView::ForseExitA2() {
  if (!a2_)
    return;
  a2_ = false;
  MarkAsChanged();
  MWGraphics::MarkDirty(ScreenRect(), MW_UPDATE_PARTIAL);
}

void MWScrollView::ChildOrigin(int* x, int* y) const {
  *x = 0;
  *y = -scroll_y_;
}

void MWScrollView::OnDescendantFocused(MWWindow* window) {
  // The window's rectangle in content coordinates: its screen place relative to the content's.
  const MWRect screen = window->ScreenRect();
  const MWRect view = ScreenRect();
  EnsureVisible(MWRect{screen.x - view.x, screen.y - view.y + scroll_y_, screen.w, screen.h});
}

bool MWScrollView::DragBy(int dy) {
  const int before = scroll_y_;
  ScrollTo(scroll_y_ - dy);
  return scroll_y_ != before;
}

// A press on a window inside the view is watched from its start; once the pen has travelled far
// enough it is a drag, and the view takes it over.
bool MWScrollView::InterceptPen(int type, int /*x*/, int y) {
  if (type == EVT_POINTERDOWN) {
    TrackDrag(type, y);
    return false;
  }
  return type == EVT_POINTERMOVE && !dragging_ && TrackDrag(type, y);
}

bool MWScrollView::TrackDrag(int type, int y) {
  switch (type) {
    case EVT_POINTERDOWN:
      drag_start_y_ = y;
      drag_last_y_ = y;
      dragging_ = false;
      return false;
    case EVT_POINTERMOVE:
      if (drag_start_y_ < 0)
        return false;
      if (!dragging_ && std::abs(y - drag_start_y_) < DragThreshold())
        return false;
      if (!dragging_) {
        dragging_ = true;
        a2_ = true;
      }
      DragBy(y - drag_last_y_);
      drag_last_y_ = y;
      return true;
    case EVT_POINTERUP: {
      const bool was_dragging = dragging_;
      if (dragging_)
        DragBy(y - drag_last_y_);
      dragging_ = false;
      drag_start_y_ = -1;
      if (was_dragging)
        ForseExitA2();
      return was_dragging;
    }
    case EVT_POINTERLONG:
      return dragging_;
    default:
      return false;
  }
}

int MWScrollView::MainHandler(int type, int par1, int par2) {
  if (TrackDrag(type, par2))
    return 1;
  if (type == EVT_POINTERDOWN)
    return 1;  // keeps the pen for a possible drag
  return MWDialog::MainHandler(type, par1, par2);
}
