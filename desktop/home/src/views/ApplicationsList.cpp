#include "views/ApplicationsList.h"

#include <algorithm>

#include "platform/mw/Layout.h"
#include "platform/mw/MWAppFrame.h"
#include "platform/mw/MWLabel.h"
#include "platform/sdk/device_features.h"
#include "platform/sdk/events.h"
#include "platform/sdk/log.h"
#include "platform/sdk/theme.h"
#include "views/AppItem.h"
#include "views/CommandIds.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kItemStyle = MWS_TABSTOP | MWS_VISIBLE;
constexpr const char* kTitlePrototype = "GroupTitlePrototype";
constexpr const char* kItemPrototype = "AppItemPrototype";

bool IsArrowKey(int key) {
  return key == KEY_UP || key == KEY_DOWN || key == KEY_LEFT || key == KEY_RIGHT;
}

// Where the reader sees the focus: on devices without a touch panel, and with the screen reader.
bool FocusIsShown() {
  return device_touchpanel() == 0 || accessibilityFocusEnable() != 0;
}

}  // namespace

int ApplicationsList::LoadAttributes(const AttributeLoader& loader) {
  row_size_ = loader.GetInt("row_size", row_size_);
  side_offset_3_ = loader.GetInt("application_3_side_offset", side_offset_3_);
  side_offset_4_ = loader.GetInt("application_4_side_offset", side_offset_4_);
  side_offset_5_ = loader.GetInt("application_5_side_offset", side_offset_5_);
  top_offset_ = loader.GetInt("application_top_offset", top_offset_);
  bottom_offset_ = loader.GetInt("application_bottom_offset", bottom_offset_);
  inside_offset_ = loader.GetInt("application_inside_offset", inside_offset_);
  return MWScrollView::LoadAttributes(loader);
}

// The prototype file is read once: the screen makes a window from it for every title and item.
const LayoutManager& ApplicationsList::Prototypes() {
  if (!prototypes_loaded_) {
    prototypes_.SetLayout(
        Layout::fromKey(std::string("desktop_prototype") + GetThemeString("layouts_suffix", "")));
    prototypes_loaded_ = true;
  }
  return prototypes_;
}

void ApplicationsList::Clear() {
  for (Group& group : app_groups_) {
    for (AppItem* item : group.items) delete item;
    delete group.title;
  }
  app_groups_.clear();
  ScrollTo(0);
  MarkAsChanged();
}

void ApplicationsList::AddGroup(const std::string& title) {
  const MWRect client = GetClientRect();
  auto* container = MakeChild<MWWindow>(client.x, client.y, client.w, client.h, MWS_VISIBLE);
  Prototypes().LoadLayout(kTitlePrototype, container);
  auto* label = container->GetChildByName<MWLabel>("title");
  if (label == nullptr) {
    MW_LOG(MW_LOG_WARNING, "group title prototype has no \"title\" label");
    delete container;
    return;
  }
  label->SetText(title);
  app_groups_.push_back(Group{container, {}});
}

void ApplicationsList::AddApplication(int group_index, const std::string& id) {
  MW_RETURN_VOID_IF(group_index < 0 || group_index >= GetGroupCount(), "no group %d for \"%s\"",
                    group_index, id.c_str());
  MW_RETURN_VOID_IF(id.empty(), "no application id");
  auto* item = MakeChild<AppItem>(0, 0, 0, 0, kItemStyle);
  Prototypes().LoadLayout(kItemPrototype, item);
  item->SetButtonStyle(false);
  if (!item->SetApplication(id, true)) {
    delete item;
    return;
  }
  item->SetCommandID(CMD_OPEN_APPLICATION);
  item->SetHoldCommandID(CMD_HOLD_APPLICATION);
  app_groups_[static_cast<size_t>(group_index)].items.push_back(item);
}

const std::vector<AppItem*>& ApplicationsList::GroupItems(int group) const {
  static const std::vector<AppItem*> none;
  if (group < 0 || group >= GetGroupCount())
    return none;
  return app_groups_[static_cast<size_t>(group)].items;
}

MWWindow* ApplicationsList::GroupTitle(int group) const {
  return group < 0 || group >= GetGroupCount() ? nullptr
                                               : app_groups_[static_cast<size_t>(group)].title;
}

std::vector<int> ApplicationsList::GroupSizes() const {
  std::vector<int> sizes;
  for (const Group& group : app_groups_) sizes.push_back(static_cast<int>(group.items.size()));
  return sizes;
}

int ApplicationsList::SideOffset(int columns) const {
  if (columns <= 3)
    return side_offset_3_;
  return columns == 4 ? side_offset_4_ : side_offset_5_;
}

int ApplicationsList::WidestTitle() const {
  int widest = 1;
  for (const Group& group : app_groups_) {
    for (const AppItem* item : group.items) widest = std::max(widest, item->TitleWidth());
  }
  return widest;
}

int ApplicationsList::TallestContent(int item_width) const {
  int tallest = 0;
  for (const Group& group : app_groups_) {
    for (const AppItem* item : group.items)
      tallest = std::max(tallest, item->ContentHeight(item_width));
  }
  return tallest;
}

// Groups one after the other, each a title and rows of equal cells centred in the width.
void ApplicationsList::RefreshStruct() {
  MW_RETURN_VOID_IF(app_groups_.empty() || app_groups_.front().items.empty(),
                    "no applications to lay out");
  const MWRect client = GetClientRect();
  const int columns = ApplicationsGrid::Columns(client.w, WidestTitle(), GroupSizes());
  row_size_ = columns;
  const int side = SideOffset(columns);
  const int item_width = std::max(1, (client.w - 2 * columns * side) / columns);
  const int row_height = TallestContent(item_width) + 2 * inside_offset_;
  const int cell = item_width + 2 * side;
  const int x0 = client.x + side + (client.w - columns * cell) / 2;
  const int row_end = x0 + columns * cell;
  int y = client.y;
  for (Group& group : app_groups_) {
    group.title->Move(client.x, y);
    y += group.title->Height() + top_offset_;
    int x = x0;
    for (AppItem* item : group.items) {
      if (x + item_width > row_end) {
        y += row_height;
        x = x0;
      }
      item->SetWindowPos(x, y, item_width, row_height);
      x += cell;
    }
    if (!group.items.empty())
      y += row_height + bottom_offset_;
  }
  SetContentHeight(y - client.y);
  MarkAsChanged();
}

void ApplicationsList::FocusFirstItem() {
  if (!FocusIsShown() || app_groups_.empty() || app_groups_.front().items.empty())
    return;
  app_groups_.front().items.front()->SetFocus();
}

ApplicationsGrid::Place ApplicationsList::FocusedPlace() const {
  const MWAppFrame* frame = MWAppFrame::m_curFrame;
  const MWWindow* focused = frame != nullptr ? frame->GetFocusedWindow() : nullptr;
  for (size_t g = 0; focused != nullptr && g < app_groups_.size(); ++g) {
    const auto& items = app_groups_[g].items;
    const auto found = std::find(items.begin(), items.end(), focused);
    if (found != items.end())
      return ApplicationsGrid::Place{static_cast<int>(g), static_cast<int>(found - items.begin())};
  }
  return ApplicationsGrid::Place{-1, -1};
}

void ApplicationsList::ScrollToItem(int group, int item) {
  const std::vector<AppItem*>& items = GroupItems(group);
  MW_RETURN_VOID_IF(item < 0 || item >= static_cast<int>(items.size()), "no item %d in group %d",
                    item, group);
  AppItem* target = items[static_cast<size_t>(item)];
  PageTowards(*target);
  target->SetFocus();
}

// A whole screen at a time, as the reader of a key device expects; the focus then brings the item
// fully into sight when one screen was not enough (a jump from the last group to the first).
void ApplicationsList::PageTowards(const MWWindow& item) {
  const MWRect place = item.GetRect();
  const MWRect visible = VisibleRect();
  if (place.Bottom() > visible.Bottom()) {
    ScrollTo(GetScrollPos() + VisibleHeight());
  } else if (place.y < visible.y) {
    ScrollTo(GetScrollPos() - VisibleHeight());
  }
}

int ApplicationsList::HandleArrowKey(int key) {
  const ApplicationsGrid::Place from = FocusedPlace();
  if (from.group < 0) {
    FocusFirstItem();
    return 1;
  }
  const ApplicationsGrid::Place to = ApplicationsGrid::Navigate(from, key, row_size_, GroupSizes());
  if (!(to == from))
    ScrollToItem(to.group, to.item);
  return 1;
}

int ApplicationsList::MainHandler(int type, int par1, int par2) {
  if ((type == EVT_KEYPRESS || type == EVT_KEYREPEAT) && IsArrowKey(par1) &&
      device_touchpanel() == 0) {
    return HandleArrowKey(par1);
  }
  return MWScrollView::MainHandler(type, par1, par2);
}

int ApplicationsList::OnFocusSet(MWWindow* from, int key) {
  if (app_groups_.empty() || app_groups_.front().items.empty())
    return MWScrollView::OnFocusSet(from, key);
  app_groups_.front().items.front()->SetFocus(key);
  return 1;
}

int ApplicationsList::OnCommand(MWCommand& command) {
  if (command.sender != nullptr && IsAncestorOf(command.sender)) {
    const MWRect screen = command.sender->ScreenRect();
    command.x = screen.x;
    command.y = screen.y;
    command.width = screen.w;
    command.height = screen.h;
  }
  return MWScrollView::OnCommand(command);
}

int ApplicationsList::AccessibilityOpenCommandHandler(int command) {
  const ApplicationsGrid::Place place = FocusedPlace();
  if (place.group < 0)
    return 0;
  return GroupItems(place.group)[static_cast<size_t>(place.item)]->AccessibilityOpenCommandHandler(
      command);
}

}  // namespace marrowleaf::desktop
