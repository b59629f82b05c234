#include "views/AddBooksView.h"

#include <algorithm>
#include <string>

#include "data/DBManager.h"
#include "platform/mw/FunctorElementBinder.h"
#include "platform/mw/MWColor.h"
#include "platform/mw/MWFrameBorderRenderer.h"
#include "platform/mw/MWGraphics.h"
#include "platform/mw/MWLabel.h"
#include "platform/sdk/device.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/screen.h"
#include "views/BindScrollBookGrid.h"
#include "views/BookItem.h"
#include "views/CommandIds.h"
#include "views/FocusReturn.h"
#include "views/ScreenSnapshot.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kMiddleTile = "book_item_M";
constexpr const char* kLargeTile = "book_item_XL";
constexpr int kPanelHalfTransparent = 50;
constexpr int kDimPercent = 50;
// The records of 2, 3 and 4 books; more books use the last one ("N").
constexpr int kRecordForMore = 3;

}  // namespace

AddBooksView::AddBooksView() : FrameScreen("AddBooksView", "AddBooksView") {
  // The view paints the whole frame (the screen behind it, dimmed).
  SetBackgroundColor(MW_COLOR_WHITE);
}

void AddBooksView::Show() {
  if (background_.IsEmpty())
    background_ = ScreenSnapshot::Take();
  FrameScreen::Show();
}

void AddBooksView::Hide() {
  if (!IsVisible())
    return;
  FrameScreen::Hide();
  focus_.GiveBack();
  background_ = SmartBitmap();
}

int AddBooksView::OnDraw(MWGraphics& graphics) {
  const MWRect origin = ScreenRect();
  if (!background_.IsEmpty())
    graphics.DrawBitmap(-origin.x, -origin.y, background_);
  graphics.Transparent(0, 0, Width(), Height(), kDimPercent);
  return 0;
}

int AddBooksView::LoadAttributes(const AttributeLoader& loader) {
  FrameScreen::LoadAttributes(loader);
  max_height_ = loader.GetInt("max_height", Height() * 9 / 10);
  const char* suffixes[] = {"2", "3", "4", "N"};
  for (size_t i = 0; i < records_.size(); ++i) {
    const std::string suffix = suffixes[i];
    Record& record = records_[i];
    record.col_count = std::max(1, loader.GetInt("col_count_" + suffix, record.col_count));
    record.side_margin = loader.GetInt("side_margin_" + suffix, record.side_margin);
    record.item_height = loader.GetInt("item_height_" + suffix, record.item_height);
    record.item_width = loader.GetInt("item_width_" + suffix, record.item_width);
    record.item_width_offset = loader.GetInt("item_width_offset_" + suffix, record.item_width_offset);
  }
  return 0;
}

int AddBooksView::OnCreate() {
  FrameScreen::OnCreate();
  container_ = GetChildByName("container");
  if (container_ != nullptr) {
    box_frame_ = std::make_unique<MWFrameBorderRenderer>(-2, 0, MW_COLOR_BLACK);
    container_->SetBorderRenderers(box_frame_.get(), box_frame_.get());
  }
  if (container_ != nullptr) {
    grid_ = container_->GetChildByName<BindScrollBookGrid>("List");
    header_ = container_->GetChildByName("header");
  }
  if (grid_ != nullptr) {
    // The focus shows on the selected tile, never around the whole grid.
    grid_->DisableFixedFocusedBorderRenderer();
    grid_->SetElementBinder(std::make_shared<FunctorElementBinder>(
        [this](MWWindow* element, int index) { BindTile(element, index); }));
    grid_->SetItemClickedCommand(CMD_OPEN_BOOK_ITEM);
    grid_->SetItemLongClickedCommand(CMD_HOLD_BOOK_ITEM);
  }
  if (header_ != nullptr) {
    header_->SetNonDirectChildCommandId("exit_button", CMD_CLOSE);
    title_label_ = header_->GetNonDirectChildByName<MWLabel>("title_label");
  }
  return 0;
}

void AddBooksView::SetItem(std::shared_ptr<Item> item) {
  item_ = std::move(item);
  arranged_count_ = -1;
  if (grid_ != nullptr)
    grid_->ScrollTo(0);
  if (IsVisible())
    Arrange();
  MWWindow::MarkAsChanged();
}

void AddBooksView::MarkAsChanged() {
  if (IsVisible() && item_ && TileCount() != arranged_count_) {
    Arrange();
  } else if (grid_ != nullptr) {
    for (int index = 0; index < grid_->GetItemCount(); ++index) {
      MWWindow* element = grid_->GetElement(index);
      for (const char* name : {kMiddleTile, kLargeTile}) {
        auto* tile = element != nullptr ? element->GetChildByName<BookItem>(name) : nullptr;
        if (tile != nullptr && tile->IsVisible())
          tile->Refresh();
      }
    }
  }
  MWWindow::MarkAsChanged();
}

int AddBooksView::TileCount() const {
  if (!item_)
    return 0;
  // Only books that were read can be shown; the group's count may be larger.
  const size_t read = item_->books_.size();
  const size_t counted = static_cast<size_t>(std::max(0, item_->books_count_));
  return static_cast<int>(std::min({read, counted, static_cast<size_t>(DBManager::kGroupLimit)}));
}

const AddBooksView::Record& AddBooksView::RecordFor(int count) const {
  if (count > 4)
    return records_[kRecordForMore];
  return records_[static_cast<size_t>(std::max(count, 2) - 2)];
}

void AddBooksView::OnShow() {
  Arrange();
  if (grid_ == nullptr || !item_)
    return;
  focus_.Take(*this, *grid_);
  // With a touch panel the focus is not shown: no tile looks chosen before it is touched.
  grid_->SetSelected(FocusReturn::FocusIsShown() && grid_->GetItemCount() > 0 ? 0 : -1);
  SetPanelTransparent(kPanelHalfTransparent);
}

void AddBooksView::OnHide() {
  if (grid_ != nullptr)
    grid_->ForseExitA2();
  SetPanelTransparent(0);
}

void AddBooksView::Arrange() {
  if (grid_ == nullptr || container_ == nullptr || header_ == nullptr || !item_)
    return;
  const int count = TileCount();
  const Record& record = RecordFor(count);
  // Without a touch panel the focused tile's frame lies around the tile: the grid makes room.
  const int frame = _device_touchpanel() != 0 ? 0
                                              : GetDefaultFrameCertifiedThickness(-3) +
                                                    2 * GetDefaultFrameCertifiedThickness(-1) - 1;
  SizeTilePrototypes(record.item_width, record.item_height);
  if (MWWindow* prototype = grid_->GetElementPrototype()) {
    MWWindow* large = prototype->GetChildByName(kLargeTile);
    const bool use_large = count == 2 && large != nullptr;
    if (large != nullptr)
      large->SetVisible(use_large);
    if (MWWindow* middle = prototype->GetChildByName(kMiddleTile))
      middle->SetVisible(!use_large);
  }
  grid_->SetColCount(record.col_count);
  grid_->SetItemSize(record.item_width, record.item_height);
  grid_->SetItemWidthOffset(record.item_width_offset);
  grid_->SetClientMargins(frame, frame, frame, frame);

  const int rows = (count + record.col_count - 1) / record.col_count;
  const int header_height = header_->Height();
  const int grid_height = std::min(count > 4 ? max_height_ : rows * record.item_height + 2 * frame,
                                   std::max(0, Height() - header_height));
  const int container_height = grid_height + header_height;
  const int lift = PanelHeight() / (count < 4 ? 1 : 2);
  const int top = std::max(0, (Height() - container_height) / 2 - lift);
  const MWRect box = container_->GetRect();
  container_->SetWindowPos(box.x, top, box.w, container_height);
  // The margins are kept on both sides of the screen, so the columns stay centred on it.
  grid_->SetWindowPos(record.side_margin - frame - box.x, header_height,
                      std::max(0, Width() - 2 * record.side_margin + 2 * frame), grid_height);
  grid_->SetItemCount(count);
  arranged_count_ = count;

  if (title_label_ != nullptr) {
    const int total = item_->books_count_;
    title_label_->SetText(std::to_string(total) + " " + GetLangTextPlural("@NewBooks", total));
  }
}

void AddBooksView::SizeTilePrototypes(int width, int height) {
  MWWindow* prototype = grid_->GetElementPrototype();
  if (prototype == nullptr || (prototype->Width() == width && prototype->Height() == height))
    return;
  const MWRect old_cell = prototype->GetRect();
  prototype->Resize(width, height);
  for (const char* name : {kMiddleTile, kLargeTile}) {
    auto* old_tile = prototype->GetChildByName<BookItem>(name);
    if (old_tile == nullptr)
      continue;
    // The tile keeps its margins in the cell; it is made again at its new size, so that the parts
    // it copies from its size's prototype are scaled to it.
    const MWRect rect = old_tile->GetRect();
    const int right = old_cell.w - rect.Right();
    const int bottom = old_cell.h - rect.Bottom();
    auto* tile = prototype->MakeChild<BookItem>(rect.x, rect.y, std::max(1, width - rect.x - right),
                                                std::max(1, height - rect.y - bottom),
                                                old_tile->GetStyle());
    tile->SetName(name);
    tile->SetCommandID(old_tile->GetCommandID());
    tile->SetHoldCommandID(old_tile->GetHoldCommandID());
    tile->LoadAttributes(old_tile->Attributes());
    tile->OnLayoutLoaded();
    tile->SetVisible(old_tile->IsVisible());
    delete old_tile;
  }
}

void AddBooksView::BindTile(MWWindow* element, int index) {
  if (element == nullptr)
    return;
  auto* tile = element->GetChildByName<BookItem>(TileCount() == 2 ? kLargeTile : kMiddleTile);
  if (tile == nullptr)
    tile = element->GetChildByName<BookItem>(kMiddleTile);
  if (tile != nullptr)
    tile->SetItem(item_, index);
}

int AddBooksView::OnCommand(MWCommand& command) {
  // A tile raises its own tap and long press with its block (0: a tile that holds its item) and its
  // index; the grid raises them, for the keys, with the index alone. Both reach the controller as
  // the grid's.
  if ((command.id == CMD_OPEN_BOOK_ITEM || command.id == CMD_HOLD_BOOK_ITEM) &&
      dynamic_cast<BookItem*>(command.sender) != nullptr) {
    command.param = command.param2;
    command.param2 = 0;
    if (MWWindow* element = command.sender->GetParent())
      element->ChangeExStyle(0, MWES_PRESSED);
  }
  return FrameScreen::OnCommand(command);
}

}  // namespace marrowleaf::desktop
