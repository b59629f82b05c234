#include "views/ApplicationContainer.h"

#include <string>

#include "data/AppDataManager.h"
#include "platform/sdk/config.h"
#include "platform/sdk/device_features.h"
#include "platform/sdk/events.h"
#include "platform/sdk/screen.h"
#include "views/AppItem.h"
#include "views/CommandIds.h"

namespace marrowleaf::desktop {
namespace {

constexpr const char* kAudioBooks = "MW_AudioBooks";
// Dutch titles run long: the items get this much more room (in 1/166 inch).
constexpr int kDutchWidening = 3;
constexpr int kDutchWideningDpi = 166;

std::string DeviceLanguage() {
  DeviceConfig* config = GetGlobalConfig();
  return config != nullptr ? ReadString(config, "language", "en") : "en";
}

}  // namespace

int ApplicationContainer::LoadAttributes(const AttributeLoader& loader) {
  max_applications_ = loader.GetInt("max_applications", 5);
  AppDataManager::GetInstance().SetMaxApplications(max_applications_);
  max_width_ = loader.GetInt("max_width",
                             max_applications_ > 0 ? ScreenWidth() / max_applications_ : 0);
  return MWDialog::LoadAttributes(loader);
}

int ApplicationContainer::OnCreate() {
  items_.clear();
  for (int n = 1;; ++n) {
    auto* item = GetNonDirectChildByName<AppItem>("app_" + std::to_string(n));
    if (item == nullptr)
      break;
    items_.push_back(item);
  }
  if (DeviceLanguage() == "nl") {
    const int extra = static_cast<int>(kDutchWidening * get_screen_dpi() *
                                       get_screen_scale_factor() / kDutchWideningDpi);
    for (AppItem* item : items_) {
      const MWRect rect = item->GetRect();
      item->SetWindowPos(rect.x, rect.y, rect.w + extra, rect.h);
    }
  }
  return 0;
}

void ApplicationContainer::Refresh() {
  AppDataManager& apps = AppDataManager::GetInstance();
  const int count = apps.GetApplicationsCount();
  bool audiobooks_on_row = false;
  for (int i = 0; i < count; ++i) {
    const auto app = apps.GetAppDataAt(i);
    audiobooks_on_row = audiobooks_on_row || (app && app->appId() == kAudioBooks);
  }
  for (size_t i = 0; i < items_.size(); ++i) {
    AppItem* item = items_[i];
    const auto app = static_cast<int>(i) < count ? apps.GetAppDataAt(static_cast<int>(i)) : nullptr;
    item->SetVisible(app != nullptr);
    if (app == nullptr)
      continue;
    item->SetApplication(app->appId(), !audiobooks_on_row);
    item->SetCommandID(CMD_OPEN_APPLICATION);
    item->SetHoldCommandID(CMD_HOLD_APPLICATION);
  }
  LayoutItems();
}

void ApplicationContainer::LayoutItems() {
  const MWRect client = GetClientRect();
  int count = 0;
  int widths = 0;
  for (const AppItem* item : items_) {
    if (!item->IsVisible())
      continue;
    ++count;
    widths += item->Width();
  }
  const int gap = (client.w - widths) / (count + 1);
  int x = client.x + gap;
  for (AppItem* item : items_) {
    if (!item->IsVisible())
      continue;
    const MWRect rect = item->GetRect();
    item->SetWindowPos(x, rect.y, rect.w, rect.h);
    x += rect.w + gap;
  }
}

void ApplicationContainer::FocusFirst() {
  for (AppItem* item : items_) {
    if (item->IsShown()) {
      item->SetFocus();
      return;
    }
  }
}

int ApplicationContainer::IndexOf(const MWWindow* window) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i] == window)
      return static_cast<int>(i);
  }
  return -1;
}

int ApplicationContainer::MainHandler(int type, int par1, int par2) {
  if (type == EVT_KEYREPEAT && (par1 == KEY_LEFT || par1 == KEY_RIGHT)) {
    AppItem* target = nullptr;
    for (AppItem* item : items_) {
      if (!item->IsShown())
        continue;
      if (target == nullptr || par1 == KEY_RIGHT)
        target = item;
    }
    if (target != nullptr) {
      target->SetFocus(par1);
      return 1;
    }
  }
  if (type == EVT_POINTERLONG) {
    HoldEmptyPlace(par1);
    return 1;
  }
  return MWDialog::MainHandler(type, par1, par2);
}

// A long press beside the shortcuts asks to add one at that place, while the row has room.
void ApplicationContainer::HoldEmptyPlace(int x) {
  int slot = 0;
  for (; slot < static_cast<int>(items_.size()); ++slot) {
    const AppItem* item = items_[static_cast<size_t>(slot)];
    if (!item->IsVisible() || item->ScreenRect().Right() >= x)
      break;
  }
  const int shortcuts = AppDataManager::GetInstance().GetApplicationsCount();
  if (slot >= max_applications_ || shortcuts >= max_applications_)
    return;
  const MWWindow* place = slot < static_cast<int>(items_.size())
                              ? static_cast<MWWindow*>(items_[static_cast<size_t>(slot)])
                              : this;
  MWCommand command = place->MakeCommand(CMD_HOLD_APPLICATION, -1, slot);
  SendCommandToParent(command);
}

int ApplicationContainer::OnCommand(MWCommand& command) {
  if (command.id == CMD_OPEN_APPLICATION || command.id == CMD_HOLD_APPLICATION) {
    const int index = IndexOf(command.sender);
    if (index >= 0)
      command.param = index;
  }
  return MWDialog::OnCommand(command);
}

}  // namespace marrowleaf::desktop
