#include "views/DesktopContainer.h"

#include <cstdlib>
#include <string>

#include "data/DataManager.h"
#include "platform/mw/MWAppFrame.h"
#include "platform/sdk/device_features.h"
#include "platform/sdk/events.h"
#include "views/BookItem.h"
#include "views/DetailedBookItem.h"
#include "views/NewsItem.h"
#include "views/CommandIds.h"

namespace marrowleaf::desktop {
namespace {

// A news entry whose action only informs has nothing to open.
constexpr const char* kInformOnlyAction = "info";

}  // namespace

int DesktopContainer::LoadAttributes(const AttributeLoader& loader) {
  MWDialog::LoadAttributes(loader);
  col_count_ = loader.GetInt("col_count", 5);
  if (col_count_ < 1)
    col_count_ = 1;
  min_padding_ = loader.GetInt("min_padding", 16);
  return 0;
}

void DesktopContainer::OnLayoutLoaded() {
  items_.clear();
  for (int n = 1;; ++n) {
    auto* tile = GetNonDirectChildByName<BookItem>("bookitem_" + std::to_string(n));
    if (tile == nullptr)
      break;
    tile->SetCommandID(CMD_OPEN_BOOK_ITEM);
    tile->SetHoldCommandID(CMD_HOLD_BOOK_ITEM);
    items_.push_back(tile);
  }
  detailed_item_ = GetNonDirectChildByName<DetailedBookItem>("detailed_bookitem");
  detailed_focus_ = GetNonDirectChildByName("detailed_bookitem_focus");
  if (detailed_focus_ != nullptr)
    detailed_focus_->SetCommandID(CMD_OPEN_DETAILED_BOOK_ITEM);
  if (detailed_item_ != nullptr && accessibilityFocusEnable() != 0)
    detailed_item_->SetCommandID(CMD_OPEN_DETAILED_BOOK_ITEM);
  news_item_ = GetNonDirectChildByName<NewsItem>("newsitem");
}

// Hiding a window makes its parent draw again, so only what must go is hidden: a page that is
// bound again to the same items changes nothing on the screen.
void DesktopContainer::ShowOnly(MWWindow* shown, int tiles_kept) {
  for (size_t i = static_cast<size_t>(tiles_kept); i < items_.size(); ++i) {
    if (items_[i] != shown)
      items_[i]->Hide();
  }
  if (detailed_item_ != nullptr && detailed_item_ != shown)
    detailed_item_->Hide();
  if (news_item_ != nullptr && news_item_ != shown)
    news_item_->Hide();
  if (detailed_focus_ != nullptr)
    detailed_focus_->Hide();
}

int DesktopContainer::ShowItems(int block, int first, bool mark) {
  if (block >= STORE_BLOCK_BASE)
    return ShowStoreItems(block, first, mark);
  ShowOnly(nullptr, GetItemCount());
  for (size_t i = 0; i < items_.size(); ++i) {
    items_[i]->Bind(block, first + static_cast<int>(i), mark);
    items_[i]->Show();
  }
  return first + GetItemCount();
}

// Store offers keep their own widths (a series is wider per book) and are spread evenly over the
// container; the offers that don't fit are left out rather than squeezed.
int DesktopContainer::ShowStoreItems(int block, int first, bool mark) {
  if (items_.empty())
    return first;
  DataManager* data = DataManager::Instance();
  const int left = items_.front()->GetRect().x;
  int room = Width() - 2 * left;
  const int base_width = items_.front()->GetNormalWidth();
  const int extension = items_.front()->GetWidthExtension();
  const int available_items = static_cast<int>(data->getItemsCount(block)) - first;
  std::vector<int> widths;
  for (int i = 0; i < GetItemCount() && i < available_items; ++i) {
    const auto item = data->getItem(block, static_cast<size_t>(first + i));
    int width = base_width;
    if (item && (item->is_seria_ || item->type_ == ITEM_ADDED_GROUP) && !item->books_.empty())
      width += static_cast<int>(item->books_.size() - 1) * extension;
    if (width > room - min_padding_ * i)
      break;
    room -= width;
    widths.push_back(width);
  }
  const int kept = static_cast<int>(widths.size());
  ShowOnly(nullptr, kept);
  const int gap = kept > 1 ? room / (kept - 1) : 0;
  int x = left;
  for (int i = 0; i < kept; ++i) {
    BookItem* tile = items_[static_cast<size_t>(i)];
    tile->SetTileWidth(widths[static_cast<size_t>(i)]);
    tile->Move(x, tile->GetRect().y);
    tile->Bind(block, first + i, mark);
    tile->Show();
    x += widths[static_cast<size_t>(i)] + gap;
  }
  return first + GetItemCount();
}

void DesktopContainer::ShowDetailedItem(int block) {
  ShowOnly(detailed_item_, 0);
  if (detailed_item_ != nullptr) {
    detailed_item_->Bind(block);
    detailed_item_->Show();
  }
  if (detailed_focus_ != nullptr)
    detailed_focus_->Show();
}

void DesktopContainer::ShowNewsItem(int block) {
  ShowOnly(news_item_, 0);
  if (news_item_ != nullptr) {
    news_item_->Bind(block);
    news_item_->Show();
  }
  const auto item = DataManager::Instance()->getItem(block, 0);
  const bool opens = item && !item->books_.empty() && item->books_.front() &&
                     item->books_.front()->store_type != kInformOnlyAction;
  if (detailed_focus_ != nullptr)
    detailed_focus_->SetVisible(opens);
}

void DesktopContainer::Refresh() {
  for (BookItem* tile : items_) tile->Refresh();
  if (detailed_item_ != nullptr && detailed_item_->IsVisible())
    detailed_item_->Refresh();
  if (news_item_ != nullptr && news_item_->IsVisible())
    news_item_->Refresh();
}

int DesktopContainer::FocusedIndex() const {
  const MWAppFrame* frame = MWAppFrame::m_curFrame;
  const MWWindow* focused = frame != nullptr ? frame->GetFocusedWindow() : nullptr;
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == focused)
      return static_cast<int>(i);
  }
  return -1;
}

bool DesktopContainer::HasFocusInside() const {
  const MWAppFrame* frame = MWAppFrame::m_curFrame;
  const MWWindow* focused = frame != nullptr ? frame->GetFocusedWindow() : nullptr;
  return focused != nullptr && focused != this && IsAncestorOf(focused);
}

void DesktopContainer::FocusFirst() {
  for (BookItem* tile : items_) {
    if (tile->IsShown()) {
      tile->SetFocus();
      return;
    }
  }
}

int DesktopContainer::FocusedRow() const {
  const int index = FocusedIndex();
  return index < 0 ? 0 : (col_count_ + index) / col_count_;
}

void DesktopContainer::FocusRow(int row) {
  if (items_.empty() || row == 0)
    return;
  const int tiles = GetItemCount();
  const int rows = (tiles + col_count_ - 1) / col_count_;
  int target = 0;
  if (rows == 2 && row > 0) {
    target = 0;
  } else {
    if (rows == 2 && row < -1)
      ++row;
    const int start = (std::abs(row) - 1) * col_count_;
    target = row > 0 ? start : start + col_count_ - 1;
  }
  if (target < 0 || target >= tiles)
    target = tiles - 1;
  items_[static_cast<size_t>(target)]->SetFocus();
}

// Focus arriving from outside the page lands on the tile nearest to where it came from: from
// above (key Down) on the top row, from below on the bottom row.
int DesktopContainer::OnFocusSet(MWWindow* from, int key) {
  if (from != nullptr)
    return MWDialog::OnFocusSet(from, key);
  const MWAppFrame* frame = MWAppFrame::m_curFrame;
  const MWWindow* focused = frame != nullptr ? frame->GetFocusedWindow() : nullptr;
  const MWRect page = ScreenRect();
  int x = page.w / 2;
  if (focused != nullptr && focused != this) {
    const MWRect rect = focused->ScreenRect();
    x = rect.x + rect.w / 2 - page.x;
  }
  const int y = key == KEY_DOWN ? 0 : page.h;
  if (MWWindow* nearest = FindNearestWindow(x, y)) {
    nearest->SetFocus(key);
    return 1;
  }
  return 0;
}

int DesktopContainer::MainHandler(int type, int par1, int par2) {
  switch (type) {
    case EVT_POINTERDOWN:
      touch_x_ = par1;
      touch_y_ = par2;
      return 1;
    case EVT_POINTERUP: {
      const bool started = touch_x_ >= 0;
      if (started && std::abs(touch_x_ - par1) > kSwipeDistancePx) {
        DoCommand(par1 < touch_x_ ? CMD_PAGE_NEXT : CMD_PAGE_PREVIOUS);
        return 1;
      }
      touch_x_ = -1;
      touch_y_ = -1;
      return 1;
    }
    case EVT_POINTERHOLDTAKEN:
      touch_x_ = -1;
      touch_y_ = -1;
      return 1;
    default:
      return MWDialog::MainHandler(type, par1, par2);
  }
}

}  // namespace marrowleaf::desktop
