#include "views/ApplicationsView.h"

#include "data/AppDataManager.h"
#include "platform/mw/MWAccessibilityNavigation.h"
#include "platform/mw/MWColor.h"
#include "platform/mw/MWGraphics.h"
#include "platform/sdk/device_features.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/log.h"
#include "platform/sdk/screen.h"
#include "platform/sdk/theme.h"
#include "views/ApplicationsList.h"

namespace marrowleaf::desktop {
namespace {

constexpr int kDimPercent = 50;
// The theme's picture behind the screen on devices without a touch panel; none when not given.
constexpr const char* kBackgroundKey = "applications.background";

bool HasTouchPanel() {
  return device_touchpanel() != 0;
}

}  // namespace

int ApplicationsView::OnCreate() {
  FrameScreen::OnCreate();
  list_ = GetNonDirectChildByName<ApplicationsList>("List");
  gradient_ = GetNonDirectChildByName<MWWindow>("gradient");
  if (HasTouchPanel()) {
    PlaceGradient();
    return 0;
  }
  if (gradient_ != nullptr)
    gradient_->Hide();
  const std::string background = GetThemeString(kBackgroundKey, "");
  if (!background.empty())
    background_ = SmartBitmap::LoadFromTheme(background);
  return 0;
}

// The fade covers the bottom of the list, where more applications scroll into sight.
void ApplicationsView::PlaceGradient() {
  if (gradient_ == nullptr || list_ == nullptr)
    return;
  const MWRect list = list_->GetRect();
  gradient_->SetWindowPos(list.x, list.Bottom() - gradient_->Height(), list.w, gradient_->Height());
}

// The screen opens at its top, with the focus on its first application where the focus shows.
void ApplicationsView::Show() {
  FrameScreen::Show();
  Refresh();
  if (list_ != nullptr) {
    list_->ScrollTo(0);
    list_->FocusFirstItem();
  }
}

void ApplicationsView::Refresh() {
  MW_RETURN_VOID_IF(list_ == nullptr, "the applications screen has no list");
  std::vector<AppGroupData> groups = AppDataManager::GetInstance().GetGroupsForView();
  if (built_ && groups == shown_groups_)
    return;
  list_->Clear();
  for (const AppGroupData& group : groups) {
    list_->AddGroup(GetLangText(group.title_.c_str()));
    for (const std::string& id : group.apps_) list_->AddApplication(list_->GetGroupCount() - 1, id);
  }
  list_->RefreshStruct();
  shown_groups_ = std::move(groups);
  built_ = true;
  ++rebuilds_;
  MarkAsChanged();
}

// A background picture (a theme's) shows dimmed behind the list on devices without a touch panel;
// without one the screen is plain white, as dimmed white would only lower the icons' contrast.
int ApplicationsView::OnDraw(MWGraphics& graphics) {
  const MWRect client = GetClientRect();
  if (HasTouchPanel() || background_.IsEmpty()) {
    graphics.FillRect(client, MW_COLOR_WHITE);
    return 0;
  }
  graphics.DrawBitmap(0, 0, background_);
  graphics.Transparent(client, kDimPercent);
  return 0;
}

void ApplicationsView::OnHide() {
  if (list_ != nullptr)
    list_->ForseExitA2();
  SetPanelTransparent(0);
}

int ApplicationsView::AccessibilityNavigateCommandHandler(int command) {
  MW_LOG(MW_LOG_VERBOSE, "ApplicationView Accessibility cmd id [%d]", command);
  MWWindow* target = MWAccessibilityNavigation::navigate(command, this);
  if (target == nullptr)
    return 0;
  for (MWWindow* window = target; window != nullptr && window != this;
       window = window->GetParent()) {
    window->Show();
  }
  target->SetFocus();
  return 1;
}

int ApplicationsView::AccessibilityOpenCommandHandler(int command) {
  MW_LOG(MW_LOG_VERBOSE, "ApplicationsView Accessibility cmd id [%d]", command);
  if (command != MW_ACCESSIBILITY_OPEN)
    return 0;
  if (list_ != nullptr && list_->AccessibilityOpenCommandHandler(command) != 0)
    return 1;
  return FrameScreen::AccessibilityOpenCommandHandler(command);
}

}  // namespace marrowleaf::desktop
