#pragma once

#include "controllers/UserAppList.h"

namespace marrowleaf::desktop {

// Connects the controller to the user's shortcut row of the application data manager.
class AppListConnection : public UserAppList {
 public:
  void Load() override;
  void RemoveNullApplications() override;
};

}  // namespace marrowleaf::desktop
