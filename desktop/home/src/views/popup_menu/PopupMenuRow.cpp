#include "views/popup_menu/PopupMenuRow.h"

#include <algorithm>

#include "platform/mw/MWColor.h"
#include "platform/mw/MWGraphics.h"
#include "platform/mw/MWLabel.h"

namespace marrowleaf::desktop {
namespace {

// Children that span the row and stretch with it; the others keep their distance from the edge
// they are nearer to.
bool Stretches(const std::string& name) {
  return name == "Title" || name == "separator";
}

}  // namespace

std::unique_ptr<MWWindow> PopupMenuRow::factoryMethod() const {
  return std::make_unique<PopupMenuRow>();
}

void PopupMenuRow::OnLayoutLoaded() {
  RememberMargins(*this);
}

int PopupMenuRow::cloneFromPrototype(const MWWindow* prototype) {
  const int result = MWWindow::cloneFromPrototype(prototype);
  if (const auto* row = dynamic_cast<const PopupMenuRow*>(prototype)) {
    margins_ = row->margins_;
    icon_column_ = row->icon_column_;
  }
  return result;
}

void PopupMenuRow::RememberMargins(const MWWindow& layout_row) {
  margins_.clear();
  for (const MWWindow* child : layout_row.Children()) {
    const MWRect& rect = child->GetRect();
    const int right = layout_row.Width() - rect.Right();
    margins_[child->GetName()] = Margin{rect.x, right, right < rect.x};
  }
}

int PopupMenuRow::RightMargin(const std::string& child) const {
  auto margin = margins_.find(child);
  return margin == margins_.end() ? 0 : margin->second.right;
}

int PopupMenuRow::RoomRightOfTitle() const {
  const MWWindow* mark = GetChildByName("SubmenuMark");
  if (mark != nullptr && mark->IsVisible())
    return RightMargin("SubmenuMark") + mark->Width();
  return RightMargin("Title");
}

void PopupMenuRow::Arrange() {
  for (MWWindow* child : Children()) {
    auto margin = margins_.find(child->GetName());
    if (margin == margins_.end())
      continue;
    MWRect rect = child->GetRect();
    const int right = Width() - (child->GetName() == "Title" ? RoomRightOfTitle() : margin->second.right);
    if (Stretches(child->GetName())) {
      rect.w = std::max(0, right - rect.x);
    } else if (margin->second.right_side) {
      rect.x = right - rect.w;
    }
    child->SetWindowPos(rect);
  }
}

int PopupMenuRow::NeededWidth() const {
  const auto* title = GetChildByName<MWLabel>("Title");
  if (title == nullptr)
    return Width();
  return title->GetRect().x + title->TextWidth() + RoomRightOfTitle();
}

void PopupMenuRow::SetInactive(bool inactive) {
  if (inactive_ == inactive)
    return;
  inactive_ = inactive;
  MarkAsChanged();
}

void PopupMenuRow::SetIconColumn(bool shown) {
  MWWindow* title = GetChildByName("Title");
  auto title_margin = margins_.find("Title");
  auto icon_margin = margins_.find("Icon");
  if (icon_column_ == shown || title == nullptr || title_margin == margins_.end() ||
      icon_margin == margins_.end())
    return;
  icon_column_ = shown;
  MWRect rect = title->GetRect();
  const int right = rect.Right();
  rect.x = shown ? title_margin->second.left : icon_margin->second.left;
  rect.w = std::max(0, right - rect.x);
  title->SetWindowPos(rect);
  MarkAsChanged();
}

int PopupMenuRow::OnDraw(MWGraphics& graphics) {
  const bool pressed = HasExStyle(MWES_PRESSED) && !inactive_;
  if (pressed)
    graphics.FillRect(MWRect{0, 0, Width(), Height()}, MW_COLOR_BLACK);
  // The children draw after the row: their colour follows the row's state.
  const int color = pressed ? MW_COLOR_WHITE : inactive_ ? MW_COLOR_GREY : MW_COLOR_BLACK;
  if (MWWindow* title = GetChildByName("Title"); title != nullptr && title->GetTextColor() != color)
    title->SetTextColor(color);
  return 0;
}

}  // namespace marrowleaf::desktop
