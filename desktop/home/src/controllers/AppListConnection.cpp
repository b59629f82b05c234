#include "controllers/AppListConnection.h"

#include "data/AppDataManager.h"

namespace marrowleaf::desktop {

// The process-wide manager is made (and loads the row) on first use.
AppDataManager& AppListConnection::Manager() {
  return manager_ != nullptr ? *manager_ : AppDataManager::GetInstance();
}

void AppListConnection::Load() { Manager(); }
void AppListConnection::RemoveNullApplications() { Manager().RemoveNullApplications(); }
int AppListConnection::GetApplicationsCount() { return Manager().GetApplicationsCount(); }
int AppListConnection::GetMaxApplications() { return Manager().GetMaxApplications(); }
std::shared_ptr<AppData> AppListConnection::GetAppDataAt(int index) {
  return Manager().GetAppDataAt(index);
}
std::shared_ptr<AppData> AppListConnection::GetAppData(const std::string& id) {
  return Manager().GetAppData(id);
}
std::vector<std::shared_ptr<AppDataForMenu>> AppListConnection::GetMenuApplications() {
  return Manager().GetMenuApplications();
}
void AppListConnection::InsertApplication(const std::string& id, int position, bool save) {
  Manager().InsertApplication(id, position, save);
}
void AppListConnection::RemoveApplication(int index) { Manager().RemoveApplication(index); }
void AppListConnection::MoveApplication(int index, int delta) {
  Manager().MoveApplication(index, delta);
}
void AppListConnection::SetApplication(int index, const std::string& id) {
  Manager().SetApplication(index, id);
}

}  // namespace marrowleaf::desktop
