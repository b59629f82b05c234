// The catalogue of applications: which exist on this device, their titles, icons and visibility,
// and the groups of the applications screen. It reads the firmware's application database and the
// user's view file lazily, each at most once per process, resolves the conditions their values may
// carry for this device and answers with shared records. A broken file is logged and answered with
// empty values; nothing throws. Event-loop thread only.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <json/value.h>

#include "data/json_manager/AppGroupData.h"
#include "data/json_manager/AppJsonDBData.h"
#include "data/json_manager/ConditionParser.h"
#include "data/json_manager/JsonIntegrityChecker.h"
#include "data/json_manager/JsonLoadObject.h"

namespace marrowleaf::desktop {

class AppJsonManager {
 public:
  static constexpr const char* kDatabasePath = "/ebrmain/config/desktop/apps_db.json";
  static constexpr const char* kShippedViewPath = "/ebrmain/config/desktop/view.json";
  static constexpr const char* kUserViewPath = "/mnt/ext1/system/config/desktop/view.json";
  static constexpr const char* kHashRecordPath = "/mnt/ext1/system/config/desktop/hash.txt";
  static constexpr const char* app_id_sys_null_ = "SYS_Null";
  static constexpr const char* app_id_sys_apps_ = "SYS_Apps";

  AppJsonManager();

  // Checks both files when they changed since the last check and shows their errors in one error
  // dialog. Nonzero when both pass.
  int CheckIntegrity();

  // The application with this id; the "SYS_Null" record when it is unknown, invalid or hidden; an
  // empty pointer for an empty or reserved id or when the database can't be loaded.
  std::shared_ptr<AppJsonDBData> GetApplication(const std::string& id);
  // The visible firmware applications in id order, then the visible applications of the user's
  // view file.
  std::vector<std::shared_ptr<AppJsonDBData>> GetVisibleApplications();
  // The first database application whose path is this one, or an empty pointer.
  std::shared_ptr<AppJsonDBData> GetApplicationByPath(const std::string& path);
  // Whether an application of the user's view file has this path ("/mnt/ext1/" may be left out).
  bool IsUserApplicationPath(const std::string& path);
  std::vector<AppGroupData> GetGroups();
  // Writes the database's "_comment" lines to standard error.
  void PrintComments();

  // Whether the firmware's application database loads. Without it no firmware application is
  // known, so an unknown id then says nothing about the application.
  bool DatabaseLoads() { return load(j_db_); }

  // The "no application" record; it exists whether or not the files load.
  std::shared_ptr<AppJsonDBData> GetNullApplication() const { return sys_null_; }

 private:
  bool load(JsonLoadObject& j_obj);
  bool loadDocument(JsonLoadObject& j_obj);
  bool loadView(JsonLoadObject& j_obj);
  bool preloadJson(const std::string& path, Json::Value* root);
  bool checkVersion(JsonLoadObject& j_obj);
  void rewriteView();

  void parseApplication(const std::string& id);
  void applyPartnerOverride(const std::string& id);
  void parseUserApplication(const std::string& id);
  std::shared_ptr<AppJsonDBData> parseFullApplication(const std::string& id, const Json::Value& app,
                                                      bool check_path);
  bool isApplicationValid(const std::shared_ptr<AppJsonDBData>& record);
  std::shared_ptr<AppJsonDBData> answerFor(const std::string& id);

  void parseGroups();
  void parseGroup(const Json::Value& group);

  std::string parseValueString(const Json::Value& obj, const std::string& key,
                               const std::string& dflt);
  std::string parseValuePath(const Json::Value& obj, const std::string& key,
                             const std::string& dflt);
  std::vector<std::string> parseValueArray(const Json::Value& obj, const std::string& key,
                                           const std::vector<std::string>& dflt);
  // The value of obj[key] with its conditions resolved; null when absent or unresolvable (then
  // *unresolved tells whether a condition failed).
  Json::Value resolvedValue(const Json::Value& obj, const std::string& key, bool* unresolved);
  Json::Value parseConditionalObject(const std::string& key, const Json::Value& value);
  Json::Value resolveCondition(const std::string& key, const std::string& name,
                               ConditionParser& parser, const Json::Value& cases);

  bool checkDatabaseIntegrity();
  bool checkViewIntegrity();
  static std::shared_ptr<AppJsonDBData> makeSystemRecord(const std::string& id);

  const std::string const_version_key_ = "version";
  const std::string const_app_key_ = "applications";
  const std::string const_view_key_ = "view";
  const std::string const_groups_key_ = "groups";

  JsonLoadObject j_db_;
  JsonLoadObject j_view_;
  std::map<std::string, std::shared_ptr<AppJsonDBData>> apps_data_;
  std::map<std::string, ConditionParser> condition_parsers_;
  utilities::JsonIntegrityChecker integrity_checker_;
  std::vector<AppGroupData> groups_;
  bool groups_parsed_ = false;
  std::shared_ptr<AppJsonDBData> sys_null_;
};

}  // namespace marrowleaf::desktop
