#include "views/MainView.h"

#include <string>

#include "data/DataManager.h"
#include "platform/mw/Layout.h"
#include "platform/mw/LayoutManager.h"
#include "platform/mw/MWAppFrame.h"
#include "platform/mw/MWBitmapButton.h"
#include "platform/mw/MWGraphics.h"
#include "platform/mw/MWLabel.h"
#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "platform/sdk/device_features.h"
#include "platform/sdk/events.h"
#include "platform/sdk/screen.h"
#include "platform/sdk/theme.h"
#include "platform/utils/PartnerStoreClient.h"
#include "views/ApplicationContainer.h"
#include "views/CommandIds.h"
#include "views/DesktopContainer.h"
#include "views/PointsContainer.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kPartnerWithOwnStore = 21;
constexpr int kFirstStoreBlock = STORE_BLOCK_BASE;
// Every fifth page turn flashes the panel: partial updates leave ghosts that add up.
constexpr int kTurnsPerFullUpdate = 5;
constexpr double kDyslexicButtonWidening = 1.1;

// Page turns of the whole program, counted together.
int page_turn_counter = 0;

bool IsOneOf(int key, int first, int second) {
  return key == first || key == second;
}

// The store-widget switch of the global configuration: present and 0 forces the plain layout.
bool StoreWidgetSwitchedOff() {
  DeviceConfig* config = GetGlobalConfig();
  return config != nullptr && ReadString(config, "bs_widget", nullptr) != nullptr &&
         ReadInt(config, "bs_widget", 1) == 0;
}

void ScaleFont(MWWindow* label, double factor) {
  if (label == nullptr || label->GetWindowFont() == nullptr)
    return;
  MWFont font = *label->GetWindowFont();
  font.size = std::max(1, static_cast<int>(font.size * factor));
  label->SetWindowFont(font);
}

}  // namespace

int MainView::OnCreate() {
  LayoutManager manager(Layout::fromKey(std::string("desktop") +
                                        GetThemeString("layouts_suffix", "")));
  manager.LoadLayout("MainView", this);
  UpdateStoreWidgetMode(false);
  MWWindow* view = GetChildByName(store_widget_mode_ == 1 ? "View_BSWidget" : "View");
  if (view != nullptr) {
    view->Show();
    BindViewWindows(*view);
  }
  applications_ = view != nullptr ? view->GetNonDirectChildByName<ApplicationContainer>(
                                        "ApplicationModule")
                                  : nullptr;
  if (applications_ == nullptr)
    applications_ = GetNonDirectChildByName<ApplicationContainer>("ApplicationModule");
  if (accessibilityFocusEnable() != 0 && !pages_.empty())
    pages_.front()->FocusFirst();
  return 0;
}

void MainView::BindViewWindows(MWWindow& view) {
  points_ = view.GetNonDirectChildByName<PointsContainer>("Points");
  store_block_ = view.GetNonDirectChildByName<DesktopContainer>("StoreBlock");
  store_header_ = view.GetNonDirectChildByName("StoreHeaderBlock");
  if (store_header_ != nullptr) {
    header_label_ = store_header_->GetNonDirectChildByName<MWLabel>("header");
    if (header_label_ != nullptr)
      header_label_width_ = header_label_->Width();
    prev_block_button_ = store_header_->GetNonDirectChildByName("prev_page");
    next_block_button_ = store_header_->GetNonDirectChildByName("next_page");
    more_button_ = store_header_->GetNonDirectChildByName<MWBitmapButton>("more_btn");
    if (prev_block_button_ != nullptr)
      prev_block_button_->SetCommandID(CMD_STORE_BLOCK_PREVIOUS);
    if (next_block_button_ != nullptr)
      next_block_button_->SetCommandID(CMD_STORE_BLOCK_NEXT);
  }
  if (store_block_ != nullptr)
    FillStoreBlock(true);
  activate_block_ = view.GetNonDirectChildByName("ActivateRecommendations");
  BindActivationPanel();
  CollectPages(view);
  if (more_button_ != nullptr) {
    LayoutStoreHeader();
    more_button_->SetCommandID(CMD_OPEN_STORE_BLOCK);
  }
}

// The panel that offers to turn the store's recommendations on: its button hugs its caption, and
// the dyslexia-friendly font, which runs wide, gets smaller texts.
void MainView::BindActivationPanel() {
  if (activate_block_ == nullptr)
    return;
  if (auto* button = activate_block_->GetNonDirectChildByName<MWBitmapButton>("activateR")) {
    if (auto* caption = button->GetNonDirectChildByName<MWLabel>("activateRLabel")) {
      const MWRect rect = button->GetRect();
      const int fitted = caption->Width() + caption->Height();
      if (fitted < rect.w)
        button->SetWindowPos(rect.x + (rect.w - fitted) / 2, rect.y, fitted, rect.h);
    }
    button->SetCommandID(CMD_ACTIVATE_RECOMMENDATIONS);
  }
  if (pk_text_dyslexic_font_enabled() != 0) {
    const bool partner = GetCustomizedPartner() == kPartnerWithOwnStore;
    ScaleFont(activate_block_->GetNonDirectChildByName("label_1"), partner ? 0.6 : 0.8);
    ScaleFont(activate_block_->GetNonDirectChildByName("label_2"), 0.7);
  }
}

void MainView::FillStoreBlock(bool mark) {
  DataManager* data = DataManager::Instance();
  const int block = data->getCurrentStoreBlock();
  switch (data->getCurrentStoreBlockType()) {
    case ITEM_STORE_DETAILED:
      store_block_->ShowDetailedItem(block);
      break;
    case ITEM_STORE_NEWS:
      store_block_->ShowNewsItem(block);
      break;
    default:
      store_block_->ShowItems(block, 0, mark);
      break;
  }
}

// The pages show consecutive items of the device block; the first page's covers are loaded at
// once, since they make the first screen.
void MainView::CollectPages(MWWindow& view) {
  pages_.clear();
  int running = 0;
  for (int n = 1;; ++n) {
    auto* page = view.GetNonDirectChildByName<DesktopContainer>("DeviceBlockPage" +
                                                                 std::to_string(n));
    if (page == nullptr)
      break;
    running = page->ShowItems(DEVICE_BLOCK, running, n == 1);
    page->Hide();
    pages_.push_back(page);
  }
  if (pages_.empty())
    return;
  current_page_ = 0;
  if (points_ != nullptr) {
    points_->SetCount(GetPageCount());
    points_->SetCurrent(0);
  }
  pages_.front()->Show();
}

DesktopContainer* MainView::GetPage(int index) const {
  return index >= 0 && index < GetPageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
}

int MainView::GetBookSlotCount() const {
  int slots = 0;
  for (const DesktopContainer* page : pages_) slots += page->GetItemCount();
  return slots;
}

bool MainView::UpdateStoreWidgetMode(bool advance) {
  bool result = false;
  int mode = 0;
  if (!StoreWidgetSwitchedOff() && _device_touchpanel() != 0) {
    DataManager* data = DataManager::Instance();
    result = data->loadStoreBlocks(advance);
    const size_t blocks = data->getStoreBlocksCount();
    const bool partner = GetCustomizedPartner() == kPartnerWithOwnStore;
    if (blocks >= 1 || partner) {
      mode = 1;
      bool shown = true;
      if (partner) {
        // The partner's own store decides: without offers, an activated store shows the plain
        // layout; with offers, the store shows only once it is activated.
        const auto client = utilities::createTeaClient();
        const bool activated = client != nullptr && client->IsActivated() != 0;
        if (blocks == 0) {
          shown = activated;
          if (activated)
            mode = 0;
        } else {
          shown = client == nullptr || activated;
        }
      }
      SetStoreVisibility(shown, blocks);
    }
  }
  const int previous = store_widget_mode_;
  store_widget_mode_ = mode;
  if (previous != -1 && previous != mode)
    DoCommand(CMD_REBUILD);
  return result;
}

void MainView::SetStoreVisibility(bool shown, size_t blocks) {
  if (store_header_ != nullptr)
    store_header_->SetVisible(shown);
  if (prev_block_button_ != nullptr)
    prev_block_button_->SetVisible(shown && blocks > 1);
  if (next_block_button_ != nullptr)
    next_block_button_->SetVisible(shown && blocks > 1);
  if (store_block_ != nullptr)
    store_block_->SetVisible(shown);
  if (activate_block_ != nullptr)
    activate_block_->SetVisible(!shown);
}

void MainView::UpdateStoreBlock() {
  DataManager* data = DataManager::Instance();
  const int block = data->getCurrentStoreBlock();
  if (header_label_ != nullptr) {
    header_label_->SetText(data->getStoreBlockTitle(block));
    if (more_button_ != nullptr) {
      if (GetCustomizedPartner() == kPartnerWithOwnStore) {
        const bool linked = !data->getStoreBlockUrl(block).empty();
        if (((more_button_->GetStyle() & MWS_TABSTOP) != 0) != linked)
          more_button_->ChangeWindowStyle(linked ? MWS_TABSTOP : 0, linked ? 0 : MWS_TABSTOP);
      }
      more_button_->Show();
    }
  }
  if (store_block_ != nullptr)
    FillStoreBlock(block == kFirstStoreBlock);
  if (store_header_ != nullptr)
    LayoutStoreHeader();
}

// The title is followed by the next-block arrow; "more" keeps its right edge and takes the width
// its caption needs, without running into the arrow.
void MainView::LayoutStoreHeader() {
  if (header_label_ != nullptr && next_block_button_ != nullptr) {
    const MWRect label = header_label_->GetRect();
    const int padding = label.h / 4;
    const int width = std::min(header_label_width_, header_label_->TextWidth() + padding);
    header_label_->SetWindowPos(label.x, label.y, width, label.h);
    const MWRect next = next_block_button_->GetRect();
    next_block_button_->SetWindowPos(label.x + width, next.y, next.w, next.h);
  }
  if (more_button_ == nullptr)
    return;
  const MWRect more = more_button_->GetRect();
  int width = more_button_->ImplicitWidth();
  if (pk_text_dyslexic_font_enabled() != 0)
    width = static_cast<int>(width * kDyslexicButtonWidening);
  width += 2 * GetDefaultFrameCertifiedThickness(-2);
  if (next_block_button_ != nullptr) {
    const int next_right = next_block_button_->GetRect().Right();
    if (more.Right() - width < next_right)
      width = more.Right() - next_right;
  }
  more_button_->SetWindowPos(more.Right() - width, more.y, width, more.h);
}

void MainView::ChangePage(int step) {
  const int count = GetPageCount();
  if (count == 0)
    return;
  int next = current_page_ + step;
  if (next < 0) {
    next = count - 1;
  } else if (next == count) {
    next = 0;
  } else if (next > count) {
    return;
  }
  if (next == current_page_)
    return;
  if (++page_turn_counter % kTurnsPerFullUpdate == 0)
    MWGraphics::MarkFullUpdate();
  DesktopContainer* old_page = pages_[static_cast<size_t>(current_page_)];
  DesktopContainer* new_page = pages_[static_cast<size_t>(next)];
  const bool had_focus = old_page->HasFocusInside();
  const bool touchless = _device_touchpanel() == 0;
  const int row = had_focus && touchless ? old_page->FocusedRow() * step : 0;
  // The new page covers the old one exactly, so only the page is drawn again, not all that holds
  // it (hiding a window would otherwise make its parent draw anew).
  MWWindow* holder = old_page->GetParent();
  const bool holder_changed = holder != nullptr && holder->IsChanged();
  old_page->Hide();
  current_page_ = next;
  new_page->Show();
  if (holder != nullptr && !holder_changed && old_page->GetRect() == new_page->GetRect())
    holder->ClearChanged();
  if (had_focus) {
    new_page->FocusFirst();
    if (touchless)
      new_page->FocusRow(row);
  }
  if (points_ != nullptr)
    points_->SetCurrent(next);
}

void MainView::ResetToFirstPage() {
  while (current_page_ > 0) ChangePage(-1);
  if (FocusIsOnTouchlessDevice() && !pages_.empty()) {
    SetFocusOnPanel(0);
    pages_.front()->FocusFirst();
  }
}

bool MainView::FocusIsOnTouchlessDevice() const {
  return _device_touchpanel() == 0 || accessibilityFocusEnable() != 0;
}

void MainView::SetFocus() {
  if (HasFocusInside())
    return;
  if (FocusIsOnTouchlessDevice() && !pages_.empty()) {
    SetFocusOnPanel(0);
    pages_[static_cast<size_t>(current_page_)]->FocusFirst();
    if (HasFocusInside())
      return;
  }
  MWWindow::SetFocus(0);
}

bool MainView::HasFocusInside() const {
  const MWAppFrame* frame = MWAppFrame::m_curFrame;
  const MWWindow* focused = frame != nullptr ? frame->GetFocusedWindow() : nullptr;
  return focused != nullptr && focused != this && IsAncestorOf(focused);
}

void MainView::Refresh() {
  if (applications_ != nullptr)
    applications_->Refresh();
  UpdateStoreBlock();
  for (DesktopContainer* page : pages_) page->Refresh();
  UpdateStoreWidgetMode(false);
}

void MainView::OnShow() {
  UpdateStoreWidgetMode(false);
  SetFocus();
  if (accessibilityFocusEnable() != 0 && !pages_.empty())
    pages_.front()->FocusFirst();
  MWDialog::OnShow();
}

int MainView::OnCommand(MWCommand& command) {
  const bool from_pages = GetPage(current_page_) == command.sender ||
                          (points_ != nullptr && command.sender == points_);
  switch (command.id) {
    case CMD_PAGE_NEXT:
      if (from_pages && current_page_ < GetPageCount() - 1)
        ChangePage(1);
      return 1;
    case CMD_PAGE_PREVIOUS:
      if (from_pages && current_page_ > 0)
        ChangePage(-1);
      return 1;
    case CMD_STORE_BLOCK_NEXT:
    case CMD_STORE_BLOCK_PREVIOUS:
      DataManager::Instance()->switchStoreBlock(command.id == CMD_STORE_BLOCK_NEXT ? 1 : -1);
      UpdateStoreBlock();
      if (header_label_ != nullptr)
        header_label_->MarkAsChanged();
      return 1;
    default:
      return MWDialog::OnCommand(command);
  }
}

int MainView::OnFocusSet(MWWindow* from, int key) {
  DesktopContainer* page = GetPage(current_page_);
  if (from != nullptr) {
    // On a touch screen the focus is nowhere to be seen: the view keeps it itself.
    if (page == nullptr || !FocusIsOnTouchlessDevice())
      return MWDialog::OnFocusSet(from, key);
    return page->OnFocusSet(nullptr, key);
  }
  if (key == KEY_UP && applications_ != nullptr) {
    applications_->FocusFirst();
    return 1;
  }
  if (key == KEY_DOWN && page != nullptr)
    return page->OnFocusSet(nullptr, KEY_DOWN);
  return MWDialog::OnFocusSet(from, key);
}

void MainView::FocusPanel() {
  SetFocusOnPanel(1);
  if (MWAppFrame* frame = GetFrame())
    frame->SetFocusedWindow(nullptr);
}

int MainView::MainHandler(int type, int par1, int par2) {
  if (type == EVT_KEYPRESS && IsOneOf(par1, KEY_NEXT, KEY_NEXT2)) {
    ChangePage(1);
    return 1;
  }
  if (type == EVT_KEYPRESS && IsOneOf(par1, KEY_PREV, KEY_PREV2)) {
    ChangePage(-1);
    return 1;
  }
  const int handled = MWDialog::MainHandler(type, par1, par2);
  if (handled != 0)
    return handled;
  const MWAppFrame* frame = MWAppFrame::m_curFrame;
  const bool focused = HasFocusInside() || (frame != nullptr && frame->GetFocusedWindow() == this);
  if (!focused || (type != EVT_KEYPRESS && type != EVT_KEYREPEAT))
    return 0;
  return HandleFocusedKey(type, par1);
}

int MainView::HandleFocusedKey(int type, int key) {
  const bool repeat = type == EVT_KEYREPEAT;
  DesktopContainer* page = GetPage(current_page_);
  switch (key) {
    case KEY_UP:
      FocusPanel();
      return 1;
    case KEY_DOWN:
      if (repeat && applications_ != nullptr) {
        applications_->FocusFirst();
      } else {
        FocusPanel();
      }
      return 1;
    case KEY_LEFT:
    case KEY_RIGHT:
      if (page == nullptr || !page->HasFocusInside())
        return 0;
      if (!repeat) {
        ChangePage(key == KEY_LEFT ? -1 : 1);
      } else {
        page->FocusRow(key == KEY_LEFT ? page->FocusedRow() : -page->FocusedRow());
      }
      return 1;
    case KEY_PREV:
      if (repeat && current_page_ > 0)
        ChangePage(-1);
      return repeat ? 1 : 0;
    case KEY_NEXT:
      if (repeat && current_page_ < GetPageCount() - 1)
        ChangePage(1);
      return repeat ? 1 : 0;
    default:
      return 0;
  }
}

}  // namespace marrowleaf::desktop
