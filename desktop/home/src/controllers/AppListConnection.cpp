#include "controllers/AppListConnection.h"

#include "data/AppDataManager.h"

namespace marrowleaf::desktop {

void AppListConnection::Load() { AppDataManager::GetInstance(); }

void AppListConnection::RemoveNullApplications() {
  AppDataManager::GetInstance().RemoveNullApplications();
}

}  // namespace marrowleaf::desktop
