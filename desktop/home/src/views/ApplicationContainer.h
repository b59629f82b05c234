#pragma once

#include <vector>

#include "platform/mw/MWDialog.h"

namespace marrowleaf::desktop {

class AppItem;

// The row of application shortcuts at the bottom of the home screen ("app_1", "app_2", ...). It
// shows the user's shortcut list, spreads the shown items evenly, and turns a long press on the
// empty part of a row that is not full into command 21 for the place pressed (index -1, the place
// as the second parameter).
//
// Layout attributes: "max_applications" (default 5), "max_width" (default the screen width divided
// by the maximum).
class ApplicationContainer : public MWDialog {
 public:
  ApplicationContainer() { SetClassName("ApplicationContainer"); }

  void Refresh();
  void LayoutItems();
  const std::vector<AppItem*>& Items() const { return items_; }
  void FocusFirst();
  int GetMaxApplications() const { return max_applications_; }

  int LoadAttributes(const AttributeLoader& loader) override;
  int OnCreate() override;
  int MainHandler(int type, int par1, int par2) override;
  int OnCommand(MWCommand& command) override;

 private:
  void HoldEmptyPlace(int x);
  int IndexOf(const MWWindow* window) const;

  std::vector<AppItem*> items_;
  int max_width_ = 0;
  int max_applications_ = 5;
};

}  // namespace marrowleaf::desktop
