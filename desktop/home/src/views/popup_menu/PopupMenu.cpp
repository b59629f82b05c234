#include "views/popup_menu/PopupMenu.h"

#include <algorithm>
#include <string>

#include "platform/mw/FunctorElementBinder.h"
#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWBitmapButton.h"
#include "platform/mw/MWColor.h"
#include "platform/mw/MWGraphics.h"
#include "platform/mw/MWLabel.h"
#include "platform/sdk/events.h"
#include "platform/utils/BitmapUtils.h"
#include "views/CommandIds.h"
#include "views/FocusReturn.h"
#include "views/ScreenSnapshot.h"
#include "views/ThemeImage.h"
#include "views/popup_menu/PopupMenuItemData.h"
#include "views/popup_menu/PopupMenuList.h"
#include "views/popup_menu/PopupMenuPlacement.h"
#include "views/popup_menu/PopupMenuRow.h"

namespace marrowleaf::desktop {
namespace {

using List = PopupMenuItemDataList;

SmartBitmap Mirrored(const SmartBitmap& bitmap, int flags) {
  SmartBitmap copy = CopyBitmap(bitmap);
  MirrorBitmap(copy, flags);
  return copy;
}

}  // namespace

PopupMenu::PopupMenu() : FrameScreen("PopupMenu", "PopupMenu") {
  // The menu paints the whole frame (the screen behind it, dimmed), so a change of the menu never
  // needs the windows under it drawn first.
  SetBackgroundColor(MW_COLOR_WHITE);
}

PopupMenu::~PopupMenu() = default;

int PopupMenu::LoadAttributes(const AttributeLoader& loader) {
  FrameScreen::LoadAttributes(loader);
  const SmartBitmap left = ThemeImage::Load(loader.GetString("arrow_left", "context_menu_pointer"));
  const SmartBitmap up = ThemeImage::Load(loader.GetString("arrow_up", "context_menu_pointer_up"));
  pointer_bitmaps_[List::kRight] = left;
  pointer_bitmaps_[List::kLeft] = Mirrored(left, MIRROR_HORIZONTAL);
  pointer_bitmaps_[List::kBelow] = up;
  pointer_bitmaps_[List::kAbove] = Mirrored(up, MIRROR_VERTICAL);
  return 0;
}

int PopupMenu::OnCreate() {
  FrameScreen::OnCreate();
  arrow_ = GetChildByName<MWBitmap>("arrow_bitmap");
  list_ = GetChildByName<PopupMenuList>("List");
  if (list_ != nullptr) {
    list_->SetElementBinder(std::make_shared<FunctorElementBinder>(
        [this](MWWindow* row, int index) { BindRow(row, index); }));
  }
  if (auto* back = GetChildByName<MWBitmapButton>("back_btn"))
    back->SetCommandID(CMD_CLOSE);
  return 0;
}

void PopupMenu::SetItems(std::shared_ptr<PopupMenuItemDataList> items) {
  items_ = items ? std::move(items) : std::make_shared<PopupMenuItemDataList>();
  if (list_ != nullptr)
    list_->SetItemCount(items_->GetCount());
  Arrange();
  MarkAsChanged();
}

void PopupMenu::SetParentMenu(std::shared_ptr<MenuScreen> parent) {
  parent_menu_ = std::dynamic_pointer_cast<PopupMenu>(parent);
  // A submenu shows a header with the way back.
  Arrange();
  MarkAsChanged();
}

void PopupMenu::BindRow(MWWindow* row, int index) {
  const std::shared_ptr<PopupMenuItemData> entry = items_ ? items_->GetItem(index) : nullptr;
  if (row == nullptr || !entry)
    return;
  if (auto* title = row->GetChildByName<MWLabel>("Title"))
    title->SetText(entry->text);
  if (auto* icon = row->GetChildByName<MWBitmap>("Icon")) {
    icon->SetBitmap(entry->icon);
    icon->SetVisible(!entry->icon.IsEmpty());
  }
  if (MWWindow* mark = row->GetChildByName("SubmenuMark"))
    mark->SetVisible(entry->submenu && !entry->submenu->IsEmpty());
  if (MWWindow* separator = row->GetChildByName("separator"))
    separator->SetVisible(index + 1 < items_->GetCount());
  if (auto* menu_row = dynamic_cast<PopupMenuRow*>(row)) {
    menu_row->SetInactive(entry->kind == PopupMenuItemData::kKindNoAction);
    menu_row->SetIconColumn(std::any_of(items_->items.begin(), items_->items.end(),
                                        [](const auto& item) { return item && !item->icon.IsEmpty(); }));
  }
}

void PopupMenu::Arrange() {
  if (list_ == nullptr || !items_)
    return;
  auto* back = GetChildByName<MWBitmapButton>("back_btn");
  auto* back_title = GetChildByName<MWLabel>("back_title");
  MWWindow* header_line = GetChildByName("header_line");
  const bool submenu = parent_menu_ != nullptr && back != nullptr;
  const int header = submenu ? back->Height() : 0;
  list_->SetHeaderHeight(header);

  const int count = items_->GetCount();
  list_->SetVisible(count > 0);
  if (arrow_ != nullptr)
    arrow_->SetVisible(count > 0);
  for (MWWindow* part : {static_cast<MWWindow*>(back), static_cast<MWWindow*>(back_title), header_line}) {
    if (part != nullptr)
      part->SetVisible(submenu && count > 0);
  }
  if (count == 0)
    return;

  std::string opener;
  const auto parent = items_->GetParent();
  if (submenu && parent) {
    for (const auto& entry : parent->items) {
      if (entry && entry->submenu == items_)
        opener = entry->text;
    }
  }
  if (back_title != nullptr)
    back_title->SetText(opener);

  int width = list_->FitWidth();
  if (width < 0)
    width = list_->Width();
  // The header shows the way back and the opening entry's text whole, as far as the list may
  // grow; the width comes from the parts themselves, not from where an earlier menu left them.
  if (submenu && back_title != nullptr)
    width = std::max(width, std::min(list_->MaxWidth(),
                                     2 * list_->GetBorderThickness() + back->Width() +
                                         back_title->TextWidth() + back->Width() / 2));
  const int row_height = list_->GetRowHeight();
  const int height = std::min(list_->HeightFor(count), Height() - row_height);

  const SmartBitmap& pointer = pointer_bitmaps_[List::kRight];
  const MWRect origin = ScreenRect();
  PopupMenuPlacement::Request request;
  request.area = MWRect{0, 0, Width(), Height()};
  request.anchor = items_->anchor.Offset(-origin.x, -origin.y);
  request.placement = items_->placement;
  request.width = width;
  request.height = height;
  request.pointer_length = pointer.IsEmpty() ? 0 : pointer.Width();
  request.pointer_breadth = pointer.IsEmpty() ? 0 : pointer.Height();
  request.pointer_overlap = list_->GetPointerOffset();
  request.row_height = row_height;
  request.chrome = list_->HeightFor(0);
  const PopupMenuPlacement::Result place = PopupMenuPlacement::Place(request);
  side_ = place.side;

  list_->SetWindowPos(place.menu);
  list_->ArrangeRows();
  if (arrow_ != nullptr) {
    arrow_->SetBitmap(pointer_bitmaps_[side_]);
    arrow_->SetWindowPos(place.pointer);
    arrow_->SetVisible(!pointer.IsEmpty());
  }
  if (submenu) {
    const int inset = list_->GetBorderThickness();
    back->SetWindowPos(place.menu.x + inset, place.menu.y + inset, back->Width(), header - inset);
    if (back_title != nullptr) {
      const int left = back->GetRect().Right();
      back_title->SetWindowPos(left, place.menu.y + inset,
                               std::max(0, place.menu.Right() - inset - left), header - inset);
    }
    if (header_line != nullptr) {
      header_line->SetWindowPos(place.menu.x + inset, place.menu.y + header - header_line->Height(),
                                std::max(0, place.menu.w - 2 * inset), header_line->Height());
    }
  }
}

MWRect PopupMenu::ListRect() const {
  return list_ != nullptr && list_->IsVisible() ? list_->ScreenRect() : MWRect();
}

// A submenu dims the list of the menu it came from, not that menu's pointer: the pointer's
// rectangle holds screen that is dimmed already, which a second dimming would turn into a dark
// band beside the list. The pointer stays as bright as the element it points at.
MWRect PopupMenu::DimmedRect() const {
  return parent_menu_ ? parent_menu_->ListRect() : ScreenRect();
}

void PopupMenu::Show() {
  if (snapshot_.IsEmpty())
    snapshot_ = ScreenSnapshot::Take();
  FrameScreen::Show();
}

void PopupMenu::Hide() {
  if (!IsVisible())
    return;
  FrameScreen::Hide();
  focus_.GiveBack();
  snapshot_ = SmartBitmap();
  parent_menu_.reset();
  pen_down_ = false;
}

void PopupMenu::OnShow() {
  if (list_ == nullptr)
    return;
  list_->SetItemClickedCommand(CMD_OPEN_ITEM);
  list_->ScrollTo(0);
  TakeFocus();
}

void PopupMenu::TakeFocus() {
  if (list_ == nullptr || !list_->IsVisible())
    return;
  focus_.Take(*this, *list_);
  // With a touch panel the focus is not shown: no entry looks chosen before it is touched.
  list_->SetSelected(FocusReturn::FocusIsShown() ? 0 : -1);
}

int PopupMenu::OnDraw(MWGraphics& graphics) {
  if (snapshot_.IsEmpty())
    return 0;
  const MWRect origin = ScreenRect();
  graphics.DrawBitmap(-origin.x, -origin.y, snapshot_);
  graphics.Transparent(DimmedRect().Offset(-origin.x, -origin.y), kDimPercent);
  // The element the menu belongs to (or the entry that opened this submenu) stays bright.
  if (items_) {
    graphics.DrawBitmap(-origin.x, -origin.y, snapshot_,
                        items_->anchor.Offset(-origin.x, -origin.y));
  }
  return 0;
}

int PopupMenu::MainHandler(int type, int par1, int par2) {
  switch (type) {
    // Pen events reach the menu itself only outside the list: a tap there closes the menu.
    case EVT_POINTERDOWN:
      pen_down_ = true;
      return 1;
    case EVT_POINTERUP:
      if (pen_down_) {
        pen_down_ = false;
        DoCommand(CMD_CLOSE);
      }
      return 1;
    case EVT_POINTERMOVE:
    case EVT_POINTERLONG:
    case EVT_POINTERCANCEL:
      return 1;
    default:
      break;
  }
  return FrameScreen::MainHandler(type, par1, par2);
}

int PopupMenu::OnCommand(MWCommand& command) {
  if (command.id == CMD_OPEN_ITEM && list_ != nullptr && list_->IndexOf(command.sender) >= 0) {
    const std::shared_ptr<PopupMenuItemData> entry = items_ ? items_->GetItem(command.param) : nullptr;
    command.param2 =
        entry && entry->kind != PopupMenuItemData::kKindNoAction ? command.param : -1;
  }
  return FrameScreen::OnCommand(command);
}

}  // namespace marrowleaf::desktop
