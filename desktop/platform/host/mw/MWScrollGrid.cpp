#include "platform/mw/MWScrollGrid.h"

#include <algorithm>

#include "platform/mw/MWAppFrame.h"
#include "platform/sdk/events.h"
#include "platform/sdk/log.h"

namespace {

constexpr int kSelectionRenderer = 3;

}  // namespace

MWScrollGrid::MWScrollGrid() {
  SetClassName("MWScrollGrid");
  ChangeWindowStyle(MWS_TABSTOP, 0);
}

void MWScrollGrid::FindPrototype() {
  prototype_ = GetChildByName("Item");
  if (prototype_ == nullptr && !Children().empty())
    prototype_ = Children().front();
  if (prototype_ == nullptr)
    return;
  prototype_->Hide();
  if (item_width_ <= 0)
    item_width_ = prototype_->Width();
  if (item_height_ <= 0)
    item_height_ = prototype_->Height();
}

int MWScrollGrid::LoadAttributes(const AttributeLoader& loader) {
  MWScrollView::LoadAttributes(loader);
  col_count_ = std::max(1, loader.GetInt("col_count", col_count_));
  item_width_ = loader.GetInt("item_width", item_width_);
  item_height_ = loader.GetInt("item_height", item_height_);
  item_width_offset_ = loader.GetInt("item_width_offset", item_width_offset_);
  return 0;
}

void MWScrollGrid::OnLayoutLoaded() {
  FindPrototype();
}

void MWScrollGrid::SetItemCount(int count) {
  MW_RETURN_VOID_IF(count < 0 || count > kMaxItems, "item count %d is out of range", count);
  if (prototype_ == nullptr)
    FindPrototype();
  MW_RETURN_VOID_IF(prototype_ == nullptr && count > 0, "grid \"%s\" has no element prototype",
                    GetName().c_str());
  // Elements are made again from the prototype each time, so a change of the prototype (a
  // child shown or hidden) reaches every element.
  for (MWWindow* element : elements_) delete element;
  elements_.clear();
  for (int i = 0; i < count; ++i) {
    std::unique_ptr<MWWindow> element = prototype_->factoryMethod();
    MWWindow* raw = element.get();
    AdoptChild(std::move(element), MWRect{0, 0, prototype_->Width(), prototype_->Height()},
               prototype_->GetStyle() | MWS_VISIBLE, false);
    raw->cloneFromPrototype(prototype_);
    raw->OnLayoutLoaded();
    raw->OnCreate();
    elements_.push_back(raw);
  }
  if (selected_ >= count)
    selected_ = count - 1;
  RelayoutElements();
  RefreshElements();
}

void MWScrollGrid::SetColCount(int count) {
  col_count_ = std::max(1, count);
  RelayoutElements();
}

void MWScrollGrid::SetItemSize(int width, int height) {
  item_width_ = std::max(0, width);
  item_height_ = std::max(0, height);
  RelayoutElements();
}

void MWScrollGrid::SetItemWidthOffset(int offset) {
  item_width_offset_ = offset;
  RelayoutElements();
}

int MWScrollGrid::GetRowCount() const {
  const int columns = EffectiveColumns();
  return (GetItemCount() + columns - 1) / columns;
}

void MWScrollGrid::RelayoutElements() {
  const MWRect client = GetClientRect();
  const int columns = EffectiveColumns();
  const int width = EffectiveItemWidth();
  const int total = columns * width + (columns - 1) * item_width_offset_;
  const int left = client.x + std::max(0, (client.w - total) / 2);
  for (size_t i = 0; i < elements_.size(); ++i) {
    const int column = static_cast<int>(i) % columns;
    const int row = static_cast<int>(i) / columns;
    elements_[i]->SetWindowPos(left + column * (width + item_width_offset_),
                               client.y + row * item_height_, width, item_height_);
  }
  SetContentHeight(GetRowCount() * item_height_);
  MarkAsChanged();
}

void MWScrollGrid::RefreshElements() {
  for (size_t i = 0; i < elements_.size(); ++i) BindElement(elements_[i], static_cast<int>(i));
  ShowSelection();
  MarkAsChanged();
}

MWWindow* MWScrollGrid::GetElement(int index) const {
  if (index < 0 || index >= GetItemCount())
    return nullptr;
  return elements_[static_cast<size_t>(index)];
}

int MWScrollGrid::IndexOf(const MWWindow* element) const {
  auto found = std::find(elements_.begin(), elements_.end(), element);
  return found == elements_.end() ? -1 : static_cast<int>(found - elements_.begin());
}

void MWScrollGrid::ShowSelection() {
  MWAppFrame* frame = MWAppFrame::m_curFrame;
  MWBorderRenderer* renderer =
      frame != nullptr ? frame->GetRendererByType(kSelectionRenderer) : nullptr;
  for (size_t i = 0; i < elements_.size(); ++i) {
    const bool shown = static_cast<int>(i) == selected_ && IsFocused();
    elements_[i]->SetBorderRenderers(nullptr, shown ? renderer : nullptr);
  }
}

void MWScrollGrid::SetSelected(int index) {
  selected_ = index >= 0 && index < GetItemCount() ? index : -1;
  ShowSelection();
  if (selected_ >= 0)
    ScrollToItem(selected_);
}

void MWScrollGrid::ScrollToItem(int index) {
  MWWindow* element = GetElement(index);
  if (element == nullptr)
    return;
  const MWRect rect = element->GetRect();
  EnsureVisible(MWRect{rect.x, rect.y - GetClientRect().y, rect.w, rect.h});
}

int MWScrollGrid::OnFocusSet(MWWindow* from, int key) {
  MWScrollView::OnFocusSet(from, key);
  if (selected_ < 0 && GetItemCount() > 0)
    selected_ = 0;
  ShowSelection();
  return 0;
}

void MWScrollGrid::OnFocusLost() {
  ShowSelection();
}

int MWScrollGrid::ElementAt(int x, int y) const {
  for (size_t i = 0; i < elements_.size(); ++i) {
    if (elements_[i]->IsVisible() && elements_[i]->ScreenRect().Contains(x, y)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void MWScrollGrid::RaiseItemCommand(int index, bool long_press) {
  MWWindow* element = GetElement(index);
  const int id = long_press ? item_long_clicked_command_ : item_clicked_command_;
  if (element == nullptr || id <= 0)
    return;
  element->DoCommand(id, false, index);
}

int MWScrollGrid::HandlePen(int type, int x, int y) {
  if (TrackDrag(type, y)) {
    if (pressed_ >= 0 && IsAlive(GetElement(pressed_)))
      GetElement(pressed_)->ChangeExStyle(0, MWES_PRESSED);
    pressed_ = -1;
    return 1;
  }
  switch (type) {
    case EVT_POINTERDOWN:
      pressed_ = ElementAt(x, y);
      long_done_ = false;
      if (pressed_ >= 0)
        GetElement(pressed_)->ChangeExStyle(MWES_PRESSED, 0);
      return 1;
    case EVT_POINTERLONG:
      if (pressed_ < 0 || item_long_clicked_command_ <= 0)
        return 1;
      long_done_ = true;
      GetElement(pressed_)->ChangeExStyle(0, MWES_PRESSED);
      SetSelected(pressed_);
      RaiseItemCommand(pressed_, true);
      return 1;
    case EVT_POINTERUP: {
      const int index = pressed_;
      pressed_ = -1;
      if (index < 0)
        return 1;
      GetElement(index)->ChangeExStyle(0, MWES_PRESSED);
      if (!long_done_ && ElementAt(x, y) == index) {
        SetSelected(index);
        RaiseItemCommand(index, false);
      }
      return 1;
    }
    default:
      return pressed_ >= 0 ? 1 : 0;
  }
}

int MWScrollGrid::HandleKey(int type, int key, int count) {
  const int columns = EffectiveColumns();
  if (key == KEY_OK && selected_ >= 0) {
    if (type == EVT_KEYPRESS) {
      key_down_ = true;
      long_done_ = false;
    } else if (type == EVT_KEYREPEAT && count == 1 && key_down_ && item_long_clicked_command_ > 0) {
      long_done_ = true;
      RaiseItemCommand(selected_, true);
    } else if (type == EVT_KEYRELEASE && key_down_) {
      key_down_ = false;
      if (!long_done_)
        RaiseItemCommand(selected_, false);
    }
    return 1;
  }
  if (type != EVT_KEYPRESS && type != EVT_KEYREPEAT)
    return 0;
  int step = 0;
  switch (key) {
    case KEY_LEFT:
      step = columns > 1 ? -1 : 0;
      break;
    case KEY_RIGHT:
      step = columns > 1 ? 1 : 0;
      break;
    case KEY_UP:
      step = -columns;
      break;
    case KEY_DOWN:
      step = columns;
      break;
    default:
      return 0;
  }
  const int target = (selected_ < 0 ? 0 : selected_) + step;
  // Past the first or last item the key belongs to the windows around the grid.
  if (step == 0 || target < 0 || target >= GetItemCount())
    return 0;
  SetSelected(target);
  return 1;
}

int MWScrollGrid::MainHandler(int type, int par1, int par2) {
  switch (type) {
    case EVT_POINTERDOWN:
    case EVT_POINTERMOVE:
    case EVT_POINTERUP:
    case EVT_POINTERLONG:
      return HandlePen(type, par1, par2);
    case EVT_KEYPRESS:
    case EVT_KEYRELEASE:
    case EVT_KEYREPEAT:
      if (HandleKey(type, par1, par2) != 0)
        return 1;
      return MWScrollView::MainHandler(type, par1, par2);
    default:
      return MWScrollView::MainHandler(type, par1, par2);
  }
}
