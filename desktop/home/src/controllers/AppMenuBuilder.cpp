#include "controllers/AppMenuBuilder.h"

#include <memory>

#include "data/json_manager/AppJsonManager.h"
#include "platform/sdk/lang.h"
#include "views/ThemeImage.h"
#include "views/popup_menu/PopupMenuItemData.h"

namespace marrowleaf::desktop {
namespace {

using Entry = PopupMenuItemData;

std::shared_ptr<Entry> MakeEntry(int action, const std::string& data, int kind,
                                 const SmartBitmap& icon, const std::string& text) {
  auto entry = std::make_shared<Entry>(action, data, kind, text);
  entry->icon = icon;
  return entry;
}

std::shared_ptr<Entry> MakeSubmenuEntry(const char* key, const char* icon,
                                        std::shared_ptr<PopupMenuItemDataList> submenu) {
  auto entry = std::make_shared<Entry>(Entry::kKindOrdinary, GetLangText(key), std::move(submenu));
  entry->icon = ThemeImage::Load(icon);
  return entry;
}

std::shared_ptr<Entry> MakeActionEntry(int action, const char* key, const char* icon) {
  return MakeEntry(action, std::string(), Entry::kKindOrdinary, ThemeImage::Load(icon),
                   GetLangText(key));
}

bool HoldsApplication(const std::shared_ptr<AppData>& app) {
  return app && app->known() && app->appId() != AppJsonManager::app_id_sys_null_;
}

}  // namespace

std::shared_ptr<PopupMenuItemDataList> AppMenuBuilder::ApplicationChoices(UserAppList& apps) {
  auto choices = std::make_shared<PopupMenuItemDataList>();
  choices->placement = kSubmenuPlacement;
  for (const std::shared_ptr<AppDataForMenu>& app : apps.GetMenuApplications()) {
    choices->Add(MakeEntry(kActionSetApplication, app->id_, Entry::kKindOrdinary,
                           ThemeImage::LoadIcon(app->icon_), GetLangText(app->title_.c_str())));
  }
  return choices;
}

void AppMenuBuilder::BuildSlotMenu(UserAppList& apps, int slot, PopupMenuItemDataList& menu) {
  menu.Clear();
  std::shared_ptr<PopupMenuItemDataList> choices = ApplicationChoices(apps);
  const std::shared_ptr<AppData> app = apps.GetAppDataAt(slot);
  if (!app || app->appId() == AppJsonManager::app_id_sys_null_) {
    menu.Add(MakeSubmenuEntry("@AddToHomeScreen", "desktop_push_to_home", choices));
    return;
  }
  menu.Add(MakeSubmenuEntry("@ReplaceApplication", "desktop_menu_replace_app", choices));
  if (slot > 0)
    menu.Add(MakeActionEntry(kActionMoveLeft, "@MoveLeft", "desktop_menu_move_left"));
  if (slot < apps.GetApplicationsCount() - 1)
    menu.Add(MakeActionEntry(kActionMoveRight, "@MoveRight", "desktop_menu_move_right"));
  if (HoldsApplication(app))
    menu.Add(MakeActionEntry(kActionRemove, "@RemoveFromHomeScreen", "close_circle"));
}

// One entry per place of the row, in row order; each names the application the held one would
// replace.
std::shared_ptr<PopupMenuItemDataList> AppMenuBuilder::RowPlaces(UserAppList& apps,
                                                                 const std::string& id) {
  auto places = std::make_shared<PopupMenuItemDataList>();
  places->placement = kSubmenuPlacement;
  for (int place = 0; place < apps.GetMaxApplications(); ++place) {
    const std::shared_ptr<AppData> app = apps.GetAppDataAt(place);
    if (HoldsApplication(app)) {
      const AppJsonDBData& record = *app->record();
      places->Add(MakeEntry(kActionSetApplication, id, Entry::kKindOrdinary,
                            ThemeImage::LoadIcon(record.icon()),
                            GetLangText(record.title().c_str())));
    } else {
      places->Add(MakeEntry(kActionNone, std::string(), Entry::kKindNoAction, SmartBitmap(),
                            GetLangText("@Empty")));
    }
  }
  return places;
}

void AppMenuBuilder::BuildAppListMenu(UserAppList& apps, const std::string& id,
                                      PopupMenuItemDataList& menu) {
  menu.Clear();
  if (apps.GetApplicationsCount() == apps.GetMaxApplications()) {
    menu.Add(MakeSubmenuEntry("@AddToHomeScreen", "desktop_push_to_home", RowPlaces(apps, id)));
    return;
  }
  auto append = MakeActionEntry(kActionAppend, "@AddToHomeScreen", "desktop_push_to_home");
  append->data = id;
  menu.Add(append);
}

}  // namespace marrowleaf::desktop
