#pragma once

#include "controllers/UserAppList.h"

namespace marrowleaf::desktop {

class AppDataManager;

// Connects the controller to the user's shortcut row of an application data manager (the
// process-wide one unless another is given).
class AppListConnection : public UserAppList {
 public:
  AppListConnection() = default;
  explicit AppListConnection(AppDataManager* manager) : manager_(manager) {}

  void Load() override;
  void RemoveNullApplications() override;
  int GetApplicationsCount() override;
  int GetMaxApplications() override;
  std::shared_ptr<AppData> GetAppDataAt(int index) override;
  std::shared_ptr<AppData> GetAppData(const std::string& id) override;
  std::vector<std::shared_ptr<AppDataForMenu>> GetMenuApplications() override;
  void InsertApplication(const std::string& id, int position, bool save) override;
  void RemoveApplication(int index) override;
  void MoveApplication(int index, int delta) override;
  void SetApplication(int index, const std::string& id) override;

 private:
  AppDataManager& Manager();

  AppDataManager* manager_ = nullptr;
};

}  // namespace marrowleaf::desktop
