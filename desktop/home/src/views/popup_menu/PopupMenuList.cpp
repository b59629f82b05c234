#include "views/popup_menu/PopupMenuList.h"

#include <algorithm>

#include "platform/mw/MWColor.h"
#include "platform/sdk/log.h"
#include "views/popup_menu/PopupMenuRow.h"

namespace marrowleaf::desktop {

int PopupMenuList::LoadAttributes(const AttributeLoader& loader) {
  BindScrollList::LoadAttributes(loader);
  border_thickness_ = std::max(0, loader.GetInt("border_thickness", border_thickness_));
  pointer_offset_ = std::max(0, loader.GetInt("pointer_offset", border_thickness_));
  min_width_ = std::max(0, loader.GetInt("min_width", min_width_));
  return 0;
}

void PopupMenuList::OnLayoutLoaded() {
  BindScrollList::OnLayoutLoaded();
  max_width_ = Width();
  const MWRect client = GetClientRect();
  layout_margins_ = Margins{client.x, client.y, Width() - client.Right(), Height() - client.Bottom()};
  if (border_thickness_ > 0) {
    border_ = std::make_unique<MWFrameBorderRenderer>(border_thickness_, 0, MW_COLOR_BLACK);
    SetBorderRenderers(border_.get(), border_.get());
  }
}

int PopupMenuList::FitWidth() {
  MW_RETURN_IF(GetElementBinder() == nullptr, -1, "");
  auto* row = dynamic_cast<PopupMenuRow*>(GetElementPrototype());
  MW_RETURN_IF(row == nullptr, -1, "");
  int widest = 0;
  for (int index = 0; index < GetItemCount(); ++index) {
    GetElementBinder()->Bind(row, index);
    widest = std::max(widest, row->NeededWidth());
  }
  const int margins = Width() - GetClientRect().w;
  const int limit = max_width_ > 0 ? max_width_ : Width();
  return std::min(limit, std::max(min_width_, widest + margins));
}

int PopupMenuList::HeightFor(int rows) const {
  return GetRowHeight() * std::max(0, rows) + (Height() - GetClientRect().h);
}

void PopupMenuList::SetHeaderHeight(int height) {
  SetClientMargins(layout_margins_.left, layout_margins_.top + std::max(0, height),
                   layout_margins_.right, layout_margins_.bottom);
}

void PopupMenuList::ArrangeRows() {
  RelayoutElements();
  RefreshElements();
  // The rows' parts follow their new width and what binding showed of them.
  for (int index = 0; index < GetItemCount(); ++index) {
    if (auto* row = dynamic_cast<PopupMenuRow*>(GetElement(index)))
      row->Arrange();
  }
}

}  // namespace marrowleaf::desktop
