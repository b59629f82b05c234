#include "views/BookItem.h"

#include <cstdlib>
#include <ctime>
#include <map>
#include <string>

#include "data/DataManager.h"
#include "platform/mw/Layout.h"
#include "platform/mw/LayoutManager.h"
#include "platform/mw/MWAccessibilityAudio.h"
#include "platform/mw/MWAccessibilityNavigation.h"
#include "platform/sdk/device.h"
#include "platform/sdk/device_features.h"
#include "platform/sdk/events.h"
#include "platform/sdk/log.h"
#include "platform/sdk/theme.h"
#include "views/AdditionalBookItemFocusBorderRenderer.h"
#include "views/BookItemPostDraw.h"
#include "views/BookItemSpeech.h"
#include "views/DesktopContainer.h"
#include "views/PressFeedback.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kPrototypeStyle = 0x2001;

// Prototype tiles by size name, made once from the layout file and kept for the process's life.
std::map<std::string, std::unique_ptr<BookItem>>& Prototypes() {
  static auto* prototypes = new std::map<std::string, std::unique_ptr<BookItem>>();
  return *prototypes;
}

const BookItem* PrototypeOfSize(const std::string& size_name) {
  auto& prototypes = Prototypes();
  auto found = prototypes.find(size_name);
  if (found != prototypes.end())
    return found->second.get();
  auto prototype = std::make_unique<BookItem>();
  prototype->Create(nullptr, 0, 0, 0, 0, kPrototypeStyle);
  LayoutManager manager(Layout::fromKey(std::string("desktop") +
                                        GetThemeString("layouts_suffix", "")));
  if (manager.LoadLayout("BookItemPrototype" + size_name, prototype.get()) != 0) {
    MW_LOGM("BookItem", MW_LOG_WARNING, "no prototype \"BookItemPrototype%s\"",
            size_name.c_str());
  }
  return prototypes.emplace(size_name, std::move(prototype)).first->second.get();
}

// A window's parts follow its new width: those that span it (within an eighth at either side)
// stretch with it, those on its right half keep their distance from the right edge, the rest stay.
void WidenChildren(MWWindow& window, int old_width, int new_width) {
  const int delta = new_width - old_width;
  const int slack = old_width / 8;
  for (MWWindow* child : window.Children()) {
    MWRect rect = child->GetRect();
    if (rect.x <= slack && rect.Right() >= old_width - slack) {
      WidenChildren(*child, rect.w, rect.w + delta);
      rect.w += delta;
    } else if (rect.x + rect.w / 2 > old_width / 2) {
      rect.x += delta;
    }
    child->SetWindowPos(rect);
  }
}

}  // namespace

BookItem::~BookItem() = default;

std::unique_ptr<MWWindow> BookItem::factoryMethod() const {
  return std::make_unique<BookItem>();
}

int BookItem::LoadAttributes(const AttributeLoader& loader) {
  MWWindow::LoadAttributes(loader);
  if (loader.GetInt("load_from_prototype", 0) == 1)
    cloneFromPrototype(PrototypeOfSize(loader.GetString("size_name", "")));
  ReadSizeAttributes();
  return 0;
}

void BookItem::ReadSizeAttributes() {
  normal_width_ = Attributes().GetInt("normal_width", Width());
  // The extension may be given as a share of the series container's own width.
  const MWWindow* series = GetChildByName("SeriaContainer");
  width_extension_ = 0;
  if (series != nullptr) {
    AttributeLoader attributes = series->Attributes();
    attributes.SetReferenceSize(series->Width(), series->Height());
    width_extension_ = attributes.GetInt("width_extension", 0);
  }
}

int BookItem::cloneFromPrototype(const MWWindow* prototype) {
  MW_RETURN_IF(dynamic_cast<const BookItem*>(prototype) == nullptr, -1, "Wrong prototype!!!");
  MWWindow::cloneFromPrototype(prototype);
  content_.reset();
  ReadSizeAttributes();
  return 0;
}

void BookItem::OnLayoutLoaded() {
  if (_device_touchpanel() == 0)
    UseFocusRenderer();
}

// Without a touch panel the focus is how the reader sees where they are: the tile shows its
// pressed frame instead of the framework's plain focus frame.
void BookItem::UseFocusRenderer() {
  if (GetChildByName("BookPostDraw") == nullptr)
    return;
  DisableFixedFocusedBorderRenderer();
  SetBorderRenderers(&AdditionalBookItemFocusBorderRenderer::Instance(), nullptr);
}

BookTileContent& BookItem::Content() {
  if (!content_)
    content_ = std::make_unique<BookTileContent>(*this, mark_);
  return *content_;
}

void BookItem::Bind(int block, int index, bool mark) {
  // Bound again to the same place, the tile only reads its item again.
  if (!item_ && content_ && block == block_ && index == index_ && mark == mark_) {
    Refresh();
    return;
  }
  block_ = block;
  index_ = index;
  mark_ = mark;
  item_.reset();
  Content().SetLoadNow(mark);
  Content().HideAll();
  MarkAsChanged();
}

void BookItem::SetItem(std::shared_ptr<Item> item, int index) {
  item_ = std::move(item);
  index_ = index;
  block_ = 0;
  mark_ = false;
  Content().SetLoadNow(false);
  Content().HideAll();
  MarkAsChanged();
}

void BookItem::SetTileWidth(int width) {
  const MWRect tile = GetRect();
  if (width == tile.w || width <= 0)
    return;
  WidenChildren(*this, tile.w, width);
  SetWindowPos(tile.x, tile.y, width, tile.h);
}

std::shared_ptr<Item> BookItem::CurrentItem() const {
  if (item_)
    return item_;
  if (index_ < 0)
    return nullptr;
  return DataManager::Instance()->getItem(block_, static_cast<size_t>(index_));
}

void BookItem::Refresh() {
  if (!IsShown()) {
    MarkAsChanged();
    return;
  }
  FillContent();
}

void BookItem::FillContent() {
  const std::shared_ptr<Item> item = CurrentItem();
  const size_t items_in_block = item_ ? 0 : DataManager::Instance()->getItemsCount(block_);
  const BookTileContent::Frame frame = Content().Fill(
      item, static_cast<size_t>(index_ < 0 ? 0 : index_), item_ != nullptr, items_in_block);
  if (auto* post_draw = GetChildByName<BookItemPostDraw>("BookPostDraw")) {
    post_draw->Show();
    post_draw->SetMode(frame.mode);
    post_draw->SetProgress(frame.progress);
  }
}

int BookItem::OnDraw(MWGraphics& graphics) {
  FillContent();
  if (IsFocused() && accessibilityFocusEnable() != 0)
    SpeakOnce();
  return MWWindow::OnDraw(graphics);
}

// The focused tile is drawn again for many reasons (a cover arriving, the panel, a menu closing):
// the reader hears it when it takes the focus or shows another book, not at every redraw.
void BookItem::SpeakOnce() {
  std::vector<std::string> parts = SpeechParts();
  if (parts == spoken_)
    return;
  MWAccessibilityAudio::PlayGroup(parts);
  spoken_ = std::move(parts);
}

void BookItem::OnFocusLost() {
  spoken_.clear();
}

std::vector<std::string> BookItem::SpeechParts() const {
  const std::shared_ptr<Item> item = CurrentItem();
  return BookItemSpeech::Parts(item.get(), static_cast<size_t>(index_ < 0 ? 0 : index_),
                               item_ != nullptr, std::time(nullptr));
}

void BookItem::AccessibilityPlayGroup() {
  MWAccessibilityAudio::PlayGroup(SpeechParts());
}

void BookItem::RaiseCommand(int command) {
  if (command > 0)
    DoCommand(command, false, block_, index_);
}

int BookItem::AccessibilityOpenCommandHandler(int command) {
  if (command != MW_ACCESSIBILITY_OPEN || GetCommandID() <= 0)
    return 0;
  RaiseCommand(GetCommandID());
  return 1;
}

int BookItem::AccessibilityOpenMenuCommandHandler(int /*command*/) {
  if (GetHoldCommandID() <= 0)
    return 0;
  RaiseCommand(GetHoldCommandID());
  return 1;
}

int BookItem::MainHandler(int type, int par1, int par2) {
  switch (type) {
    case EVT_POINTERDOWN:
    case EVT_POINTERUP:
    case EVT_POINTERLONG:
    case EVT_POINTERCANCEL:
    case EVT_POINTERHOLDTAKEN:
      return HandlePointer(type, par1, par2);
    case EVT_KEYPRESS:
    case EVT_KEYRELEASE:
    case EVT_KEYREPEAT:
      return HandleKey(type, par1, par2);
    default:
      return 0;
  }
}

int BookItem::HandlePointer(int type, int x, int y) {
  if (type == EVT_POINTERDOWN) {
    press_time_ms_ = hw_boottime_ms();
    press_x_ = x;
    press_y_ = y;
    // The container sees the press too: it may become a swipe.
    return 0;
  }
  if (type == EVT_POINTERCANCEL || type == EVT_POINTERHOLDTAKEN) {
    press_time_ms_ = -1;
    if (!ScreenRect().Contains(x, y))
      ChangeExStyle(0, MWES_PRESSED);
    return 0;
  }
  const int64_t started = press_time_ms_;
  if (type == EVT_POINTERUP || type == EVT_POINTERLONG)
    press_time_ms_ = -1;  // a long press is answered once: its release is no tap
  if (started < 0 || hw_boottime_ms() - started > kPressWindowMs)
    return 0;
  // A finger that travelled turns the page: the container decides on the swipe.
  const bool travelled = std::abs(x - press_x_) > DesktopContainer::kSwipeDistancePx ||
                         std::abs(y - press_y_) > DesktopContainer::kSwipeDistancePx;
  if (type == EVT_POINTERUP && travelled)
    return 0;
  const bool long_press = type == EVT_POINTERLONG;
  Press(long_press ? GetHoldCommandID() : GetCommandID(), long_press, x, y);
  return 1;
}

void BookItem::Press(int command, bool from_long_press, int x, int y) {
  SetFocus();
  PressFeedback::Flash(*this);
  if (from_long_press && GetParent() != nullptr)
    GetParent()->MainHandler(EVT_POINTERHOLDTAKEN, x, y);
  RaiseCommand(command);  // may replace the screen: nothing of this tile is used afterwards
}

int BookItem::HandleKey(int type, int key, int count) {
  if (key != KEY_OK) {
    pressed_by_key_ = false;
    return 0;
  }
  if (type == EVT_KEYPRESS) {
    pressed_by_key_ = true;
    return 1;
  }
  if (type == EVT_KEYREPEAT) {
    if (count == 1 && pressed_by_key_) {
      pressed_by_key_ = false;
      RaiseCommand(GetHoldCommandID());
    }
    return 1;
  }
  // The release after a long press (count 1) was answered by the repeat already.
  const bool tap = pressed_by_key_ && count == 0;
  pressed_by_key_ = false;
  if (tap)
    RaiseCommand(GetCommandID());
  return 1;
}

}  // namespace marrowleaf::desktop
