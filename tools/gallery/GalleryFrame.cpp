#include "GalleryFrame.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/mw/BindScrollGrid.h"
#include "platform/mw/BindScrollList.h"
#include "platform/mw/FunctorElementBinder.h"
#include "platform/mw/LayoutManager.h"
#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWLabel.h"
#include "platform/sdk/tasks.h"
#include "platform/utils/SmartBitmap.h"

namespace marrowleaf::tools {
namespace {

const std::vector<std::pair<std::string, std::string>>& Applications() {
  static const std::vector<std::pair<std::string, std::string>> applications = {
      {"desktop_app_library", "Library"},         {"desktop_app_store", "Store"},
      {"desktop_app_audiobooks_3", "Audiobooks"}, {"desktop_app_notes", "Notes"},
      {"desktop_app_dictionary", "Dictionary"},   {"desktop_app_browser", "Browser"},
      {"desktop_app_settings", "Settings"},       {"desktop_app_apps_9_plus", "Applications"},
  };
  return applications;
}

const std::vector<std::pair<std::string, std::string>>& MenuEntries() {
  static const std::vector<std::pair<std::string, std::string>> entries = {
      {"e3_menu_open", "Open with"},           {"desktop_menu_replace_app", "Replace application"},
      {"desktop_menu_move_left", "Move left"}, {"desktop_menu_move_right", "Move right"},
      {"add_to_cloud", "Upload to the cloud"}, {"close_circle", "Remove from the home screen"},
  };
  return entries;
}

}  // namespace

int GalleryFrame::OnCreate() {
  LayoutManager manager(Layout::fromKey("gallery"));
  if (manager.LoadLayout("Gallery", this) != 0)
    return -1;
  FillGrid();
  FillList();
  FillStars();
  FillPoints();
  if (auto* grid = GetNonDirectChildByName<BindScrollGrid>("Grid"))
    SetFocusedWindow(grid);
  return 0;
}

int GalleryFrame::onExit() {
  CloseApp();
  return 1;
}

void GalleryFrame::FillGrid() {
  auto* grid = GetNonDirectChildByName<BindScrollGrid>("Grid");
  if (!grid)
    return;
  grid->SetElementBinder(std::make_shared<FunctorElementBinder>([](MWWindow* element, int index) {
    const auto& application = Applications()[static_cast<size_t>(index)];
    if (auto* icon = element->GetNonDirectChildByName<MWBitmap>("Icon")) {
      icon->SetBitmap(SmartBitmap::LoadFromTheme(application.first));
    }
    if (auto* title = element->GetNonDirectChildByName<MWLabel>("Title")) {
      title->SetText(application.second);
    }
  }));
  grid->SetItemCount(static_cast<int>(Applications().size()));
  grid->SetSelected(2);
}

void GalleryFrame::FillList() {
  auto* list = GetNonDirectChildByName<BindScrollList>("List");
  if (!list)
    return;
  list->SetElementBinder(std::make_shared<FunctorElementBinder>([](MWWindow* element, int index) {
    const auto& entry = MenuEntries()[static_cast<size_t>(index)];
    if (auto* icon = element->GetNonDirectChildByName<MWBitmap>("Icon")) {
      icon->SetBitmap(SmartBitmap::LoadFromTheme(entry.first));
    }
    if (auto* title = element->GetNonDirectChildByName<MWLabel>("Title"))
      title->SetText(entry.second);
  }));
  list->SetItemCount(static_cast<int>(MenuEntries().size()));
}

void GalleryFrame::FillStars() {
  // A rating of three and a half stars.
  const char* images[] = {"star_full", "star_full", "star_full", "star_half", "star_empty"};
  for (int i = 0; i < 5; ++i) {
    auto* star = GetNonDirectChildByName<MWBitmap>("stars_" + std::to_string(i + 1));
    if (star)
      star->SetBitmap(SmartBitmap::LoadFromTheme(images[i]));
  }
}

void GalleryFrame::FillPoints() {
  // Page 2 of 5.
  for (int i = 0; i < 5; ++i) {
    auto* point = GetNonDirectChildByName<MWBitmap>("point_" + std::to_string(i + 1));
    if (point) {
      point->SetBitmap(
          SmartBitmap::LoadFromTheme(i == 1 ? "desktop_page_point_on" : "desktop_page_point_off"));
    }
  }
}

}  // namespace marrowleaf::tools
