#pragma once

#include <memory>

#include "platform/mw/BindScrollList.h"
#include "platform/mw/MWFrameBorderRenderer.h"

namespace marrowleaf::desktop {

// The list of a context menu's entries: a bound scroll list whose rows ("Item", a PopupMenuRow) the
// PopupMenu's binder fills, framed by a black border.
//
// Layout attributes: "border_thickness" (the frame, pixels or a length; 0 none), "pointer_offset"
// (how far the menu's pointer lies over the frame so that it joins the list; default the
// frame's thickness), "min_width" (the narrowest the list becomes, default 0). The list's width in
// the layout is the widest it becomes.
class PopupMenuList : public BindScrollList {
 public:
  PopupMenuList() { SetClassName("PopupMenuList"); }

  // The width the list needs to show every entry's row whole: the widest row (each bound into the
  // row prototype and measured) and the list's margins, within the minimum and the layout's width.
  // -1 when the list has no binder or no row.
  int FitWidth();
  int GetBorderThickness() const { return border_thickness_; }
  int GetPointerOffset() const { return pointer_offset_; }
  // The height that shows `rows` rows with the list's margins.
  int HeightFor(int rows) const;
  // Binds the rows again and sets them to the list's present width.
  void ArrangeRows();
  // Room kept free above the rows inside the frame (a submenu's header); 0 for none.
  void SetHeaderHeight(int height);
  // The widest the list becomes: its width in the layout.
  int MaxWidth() const { return max_width_; }

  int LoadAttributes(const AttributeLoader& loader) override;
  void OnLayoutLoaded() override;

 private:
  int border_thickness_ = 0;
  int pointer_offset_ = 0;
  int min_width_ = 0;
  int max_width_ = 0;
  // The client margins as the layout gave them.
  struct Margins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
  };
  Margins layout_margins_;
  std::unique_ptr<MWFrameBorderRenderer> border_;
};

}  // namespace marrowleaf::desktop
