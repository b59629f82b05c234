// The row of application shortcuts the user keeps on the home screen, stored in
// "/mnt/ext1/system/config/desktop/apps.json". When that file is missing, empty or was written for
// another partner, a default list of the firmware is copied, chosen by the device's features and
// partner. The manager also owns the application catalogue, finds the application bundles the user
// copied to "/mnt/ext1/applications", and prepares the groups of the applications screen and the
// lists of the shortcut menus. Every change of the row is saved at once, replacing the file whole.
// When the firmware's application database can't be loaded, no firmware application is known: the
// row then shows what it can (the user's bundles) and no file is written, so that the user's row
// comes back whole once the database loads again. Event-loop thread only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "data/AppData.h"
#include "data/AppDataForMenu.h"
#include "data/json_manager/AppGroupData.h"
#include "data/json_manager/AppJsonManager.h"

namespace marrowleaf::desktop {

class AppDataManager {
 public:
  static constexpr const char* kUserListPath = "/mnt/ext1/system/config/desktop/apps.json";
  static constexpr const char* kDefaultListPath = "/ebrmain/config/desktop/apps/apps.json";
  static constexpr const char* kBundleFolder = "/mnt/ext1/applications";

  // The process's manager, created and loaded on first use; never destroyed.
  static AppDataManager& GetInstance();

  // A manager of its own; nothing is read until LoadApplicationList or Reload.
  AppDataManager() = default;
  AppDataManager(const AppDataManager&) = delete;
  AppDataManager& operator=(const AppDataManager&) = delete;

  // Reads the user's row. False when a default list had to be copied in its place: load again.
  bool LoadApplicationList();
  // Loads, and loads again when the first load copied a default list.
  bool Reload();
  void SaveApplicationList();

  int GetApplicationsCount() const { return static_cast<int>(row_.size()); }
  // The entry at a row position, or an empty pointer out of range.
  std::shared_ptr<AppData> GetAppDataAt(int index) const;
  // The application with this id; an unknown id gives an empty slot, never an error.
  std::shared_ptr<AppData> GetAppData(const std::string& id);

  void InsertApplication(const std::string& id, int position, bool save);
  void RemoveApplication(int index);
  void MoveApplication(int index, int delta);
  void SetApplication(int index, const std::string& id);
  void RemoveNullApplications();

  void SetMaxApplications(int count) { max_applications_ = count; }
  int GetMaxApplications() const { return max_applications_; }

  // The groups of the applications screen, without the applications on the row.
  std::vector<AppGroupData> GetGroupsForView();
  // The applications that can be added to the row, by title.
  std::vector<std::shared_ptr<AppDataForMenu>> GetMenuApplications();
  // One entry per slot of the row (padded with empty slots to the maximum).
  std::vector<std::shared_ptr<AppDataForMenu>> BuildRowMenu();

  // The default list to copy: the base list with the longest fitting combination of the addons.
  std::string GetExistJson(const std::vector<std::string>& addons) const;

  AppJsonManager& JsonManager() { return app_json_manager_; }

 private:
  void ReadUserList(std::string* stored_partner);
  std::vector<std::string> DefaultListAddons() const;
  void ScanUserBundles();
  std::shared_ptr<AppData> MakeBundle(const std::string& name);
  bool IsInRow(const std::string& id) const;
  void SortByTitle(std::vector<std::string>* ids);

  int max_applications_ = 5;
  std::vector<std::shared_ptr<AppData>> row_;
  std::vector<std::shared_ptr<AppDataForMenu>> menu_applications_;
  bool menu_applications_built_ = false;
  std::vector<AppGroupData> groups_;
  AppJsonManager app_json_manager_;
  std::vector<std::shared_ptr<AppData>> user_bundles_;
  bool user_bundles_scanned_ = false;
  // Set while the catalogue can't tell which applications exist: the user's files stay as they are.
  bool read_only_ = false;
};

}  // namespace marrowleaf::desktop
