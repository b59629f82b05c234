#pragma once

#include "platform/mw/MWDialog.h"

// A window whose content is taller than the window: children are placed in content coordinates and
// shown moved up by the scroll position. Dragging the pen over the view scrolls it, also when the
// drag starts on a button inside it (the view takes the press over once the pen has travelled); a
// child that takes the focus is scrolled into view. While the content moves under the pen the view
// runs in fast black-and-white updates ("A2"); ForseExitA2 ends that mode and asks for a clean
// update of the view.
class MWScrollView : public MWDialog {
 public:
  MWScrollView() { SetClassName("MWScrollView"); }

  void SetContentHeight(int height);
  int GetContentHeight() const { return content_height_; }
  // The scroll position, 0..content height - visible height.
  int GetScrollPos() const { return scroll_y_; }
  void ScrollTo(int y);
  // The height of the visible part of the content (the client height).
  int VisibleHeight() const { return GetClientRect().h; }
  // The visible part in content coordinates.
  MWRect VisibleRect() const;
  // Scrolls the least needed to show a rectangle of content coordinates.
  void EnsureVisible(const MWRect& content_rect);
  bool InA2() const { return a2_; }
  void ForseExitA2();

  void ChildOrigin(int* x, int* y) const override;
  void OnDescendantFocused(MWWindow* window) override;
  int MainHandler(int type, int par1, int par2) override;
  bool InterceptPen(int type, int x, int y) override;

 protected:
  // The pen moved the content by dy pixels (negative: up); true when it scrolled.
  bool DragBy(int dy);
  // A pen drag over the view: begin at the pen-down, scroll while moving, end at the pen-up.
  // Returns true while a drag is on (the events are the view's).
  bool TrackDrag(int type, int y);
  bool IsDragging() const { return dragging_; }

 private:
  int content_height_ = 0;
  int scroll_y_ = 0;
  int drag_start_y_ = -1;
  int drag_last_y_ = 0;
  bool dragging_ = false;
  bool a2_ = false;
};
