#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/AppData.h"
#include "data/AppDataForMenu.h"

namespace marrowleaf::desktop {

// The user's shortcut row as the controller uses it (the application data manager's row).
class UserAppList {
 public:
  virtual ~UserAppList() = default;
  // Loads the user's shortcut row (the first use creates the list).
  virtual void Load() = 0;
  // Drops the empty entries left by an edit in progress and saves the list.
  virtual void RemoveNullApplications() = 0;

  virtual int GetApplicationsCount() = 0;
  // The number of places of the home screen's row.
  virtual int GetMaxApplications() = 0;
  // The entry at a row position, empty out of range.
  virtual std::shared_ptr<AppData> GetAppDataAt(int index) = 0;
  // The application with this id; an unknown id gives an empty slot.
  virtual std::shared_ptr<AppData> GetAppData(const std::string& id) = 0;
  // The applications that can be added to the row.
  virtual std::vector<std::shared_ptr<AppDataForMenu>> GetMenuApplications() = 0;

  virtual void InsertApplication(const std::string& id, int position, bool save) = 0;
  virtual void RemoveApplication(int index) = 0;
  virtual void MoveApplication(int index, int delta) = 0;
  virtual void SetApplication(int index, const std::string& id) = 0;
};

}  // namespace marrowleaf::desktop
