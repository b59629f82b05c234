#pragma once

#include <vector>

#include "data/json_manager/AppGroupData.h"
#include "platform/utils/SmartBitmap.h"
#include "views/FrameScreen.h"

namespace marrowleaf::desktop {

class ApplicationsList;

// The applications screen: every application of the catalogue that is not on the shortcut row, in
// titled groups (layout "ApplicationsView": a header with the close button "exit_button", the list
// "List" and, on touch devices, the "gradient" that hints at more below). Showing it refreshes the
// groups; the list is built again only when they changed since it was last built.
class ApplicationsView : public FrameScreen {
 public:
  ApplicationsView() : FrameScreen("ApplicationsView", "ApplicationsView") {}

  // Screen
  void Show() override;

  // Builds the list again when the groups differ from those shown.
  void Refresh();
  ApplicationsList* GetList() const { return list_; }
  // How many times the list was built: a reopening with the same groups builds nothing.
  int Rebuilds() const { return rebuilds_; }

  int OnCreate() override;
  int OnDraw(MWGraphics& graphics) override;
  void OnHide() override;
  int AccessibilityNavigateCommandHandler(int command) override;
  int AccessibilityOpenCommandHandler(int command) override;

 private:
  void PlaceGradient();

  ApplicationsList* list_ = nullptr;
  MWWindow* gradient_ = nullptr;
  SmartBitmap background_;
  std::vector<AppGroupData> shown_groups_;
  bool built_ = false;
  int rebuilds_ = 0;
};

}  // namespace marrowleaf::desktop
