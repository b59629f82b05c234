#include "data/json_manager/AppJsonManager.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "data/json_manager/AppIdPrefix.h"
#include "data/json_manager/DeviceConditions.h"
#include "data/json_manager/JsonFileReader.h"
#include "data/json_manager/JsonMember.h"
#include "platform/sdk/config.h"
#include "platform/sdk/device.h"
#include "platform/sdk/device_features.h"
#include "platform/sdk/dialogs.h"
#include "platform/sdk/files.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/log.h"
#include "platform/utils/HumanText.h"

// The catalogue's guard clauses show their returned value in quotes:
//   Condition: "j_obj.root_.isNull()", return("false")]Json is empty!
#define CATALOGUE_GUARD(expression, value, ...) \
  mw_log_guard(nullptr, __FILE__, __LINE__, __func__, expression, "\"" value "\"", __VA_ARGS__)
#define CATALOGUE_RETURN_IF(condition, value, ...)      \
  do {                                                  \
    if (condition) {                                    \
      CATALOGUE_GUARD(#condition, #value, __VA_ARGS__); \
      return value;                                     \
    }                                                   \
  } while (0)

namespace marrowleaf::desktop {

namespace {

const char kSecureConfigPath[] = "/mnt/secure/device.cfg";
const char kExternalRoot[] = "/mnt/ext1/";
const char kFirmwarePrefix[] = "MW_";
const char kUserPrefix[] = "U_";
const char kCommentId[] = "_comment";
const char kDefaultIcon[] = "desktop_icon_default";
const char kDefaultFocusedIcon[] = "desktop_icon_default_f";
// Firmware applications with partner rules of their own.
const char kPartnerStoreId[] = "MW_Bookstore2empikgo";
constexpr int kPartnerStorePartner = 24;
constexpr int kPartnerStoreFlag = 6;
const char kPartnerOverrideId[] = "MW_Onleihe";
const char kHiddenUserAppId[] = "U_Marschpat";

std::vector<std::string> MemberNames(const Json::Value& object) {
  return object.isObject() ? object.getMemberNames() : std::vector<std::string>();
}

bool IsPathObject(const Json::Value& value) {
  const Json::Value* path = JsonMember(value, "path");
  return path != nullptr && path->isString();
}

// A version is a number or a numeric string read as a base-10 integer; text after the digits is
// ignored and anything else reads as 0.
long long VersionNumber(const Json::Value& version) {
  if (version.isIntegral()) {
    return version.isInt64() ? static_cast<long long>(version.asInt64()) : LLONG_MAX;
  }
  if (version.isDouble()) {
    const double number = version.asDouble();
    if (!(number == number))
      return 0;
    if (number >= static_cast<double>(LLONG_MAX))
      return LLONG_MAX;
    if (number <= static_cast<double>(LLONG_MIN))
      return LLONG_MIN;
    return static_cast<long long>(number);
  }
  if (version.isString())
    return std::strtoll(version.asCString(), nullptr, 10);
  return 0;
}

std::string StripExternalRoot(const std::string& path) {
  const size_t length = sizeof kExternalRoot - 1;
  return path.compare(0, length, kExternalRoot) == 0 ? path.substr(length) : path;
}

void LogFieldError(const std::string& key, const std::string& error) {
  MW_LOG(MW_LOG_ERROR, "Application field [%s] error [%s]\n", key.c_str(), error.c_str());
}

}  // namespace

AppJsonManager::AppJsonManager()
    : j_db_(kDatabasePath, JsonLoadObject::Kind::kDatabase),
      j_view_(kUserViewPath, JsonLoadObject::Kind::kView),
      sys_null_(makeSystemRecord(app_id_sys_null_)) {
  condition_parsers_["device"].resolve = &DeviceConditions::Device;
  condition_parsers_["partner"].resolve = &DeviceConditions::Partner;
  condition_parsers_["has_audio"].resolve = &DeviceConditions::HasAudio;
  condition_parsers_["localization"].resolve = &DeviceConditions::Localization;
  condition_parsers_["language"].resolve = &DeviceConditions::Language;
  condition_parsers_["has_cloud"].resolve = &DeviceConditions::HasCloud;
  condition_parsers_["globalcfg"].resolve = &DeviceConditions::GlobalCfg;
}

std::shared_ptr<AppJsonDBData> AppJsonManager::makeSystemRecord(const std::string& id) {
  if (id == app_id_sys_apps_) {
    return std::make_shared<AppJsonDBData>(id, "", GetLangText("@Applications"),
                                           std::vector<std::string>(), "desktop_app_apps",
                                           "desktop_app_apps_f", true, false);
  }
  return std::make_shared<AppJsonDBData>(id, "", "", std::vector<std::string>(), "", "", false,
                                         false);
}

// ---- Loading -------------------------------------------------------------------------------

bool AppJsonManager::load(JsonLoadObject& j_obj) {
  if (j_obj.loaded_) {
    if (!j_obj.is_valid_ && j_obj.path_.empty()) {
      CATALOGUE_GUARD("j_obj.path_.empty()", "false",
                      "Path to json with applications data not set!");
    }
    return j_obj.is_valid_;
  }
  CATALOGUE_RETURN_IF(j_obj.path_.empty(), false, "Path to json with applications data not set!");
  if (j_obj.kind_ == JsonLoadObject::Kind::kView)
    checkVersion(j_obj);
  j_obj.loaded_ = true;
  MW_LOG(MW_LOG_INFO, "Applications data start loading from [%s]\n", j_obj.path_.c_str());
  const bool loaded =
      loadDocument(j_obj) && (j_obj.kind_ != JsonLoadObject::Kind::kView || loadView(j_obj));
  if (!loaded) {
    // Nothing of a file that failed to load is used, not even its parts that did read.
    j_obj.apps_ = Json::Value();
    j_obj.view_ = Json::Value();
    j_obj.groups_ = Json::Value();
    return false;
  }
  j_obj.is_valid_ = true;
  if (j_obj.kind_ == JsonLoadObject::Kind::kDatabase) {
    apps_data_[app_id_sys_null_] = sys_null_;
    apps_data_[app_id_sys_apps_] = makeSystemRecord(app_id_sys_apps_);
  }
  return true;
}

bool AppJsonManager::loadDocument(JsonLoadObject& j_obj) {
  JsonFileReader::ReadFile(j_obj.path_, &j_obj.root_);
  CATALOGUE_RETURN_IF(j_obj.root_.isNull(), false, "Json is empty!");
  CATALOGUE_RETURN_IF(!j_obj.root_.isObject(), false, "No object found!");
  CATALOGUE_RETURN_IF(!j_obj.root_.isMember(const_app_key_), false, "No application object found!");
  j_obj.apps_ = j_obj.root_[const_app_key_];
  CATALOGUE_RETURN_IF(j_obj.apps_.isNull(), false, "Applications object is null!");
  CATALOGUE_RETURN_IF(!j_obj.apps_.isObject(), false, "Applications is not object!");
  return true;
}

bool AppJsonManager::loadView(JsonLoadObject& j_obj) {
  j_obj.view_ = j_obj.root_.get(const_view_key_, Json::Value());
  CATALOGUE_RETURN_IF(j_obj.view_.isNull(), false, "View object is null!");
  CATALOGUE_RETURN_IF(!j_obj.view_.isObject(), false, "\"View\" is not object!");
  j_obj.groups_ = j_obj.view_.get(const_groups_key_, Json::Value());
  CATALOGUE_RETURN_IF(j_obj.groups_.isNull(), false, "View groups array is null!");
  CATALOGUE_RETURN_IF(!j_obj.groups_.isArray(), false, "View groups is not array!");
  return true;
}

bool AppJsonManager::preloadJson(const std::string& path, Json::Value* root) {
  JsonFileReader::ReadFile(path, root);
  CATALOGUE_RETURN_IF(root->isNull(), false, "Json is empty!");
  CATALOGUE_RETURN_IF(!root->isObject(), false, "No object found!");
  CATALOGUE_RETURN_IF(!root->isMember(const_version_key_), false, "No version object found!");
  return true;
}

// The user's view file is replaced by the shipped one when it is missing, unreadable or older.
// There is no merge: the user's overrides and own applications go with the old file.
bool AppJsonManager::checkVersion(JsonLoadObject& j_obj) {
  if (pk_access(j_obj.path_.c_str(), F_OK) != 0) {
    MW_LOG(MW_LOG_INFO, "Json view not found [%s]\n", j_obj.path_.c_str());
    MW_LOG(MW_LOG_INFO, "Copying view json!\n");
    pk_buildpath(j_obj.path_.c_str());
    CopyFile(kShippedViewPath, j_obj.path_.c_str());
    return true;
  }
  Json::Value shipped;
  Json::Value user;
  const bool shipped_ok = preloadJson(kShippedViewPath, &shipped);
  const bool user_ok = preloadJson(j_obj.path_, &user);
  if (!shipped_ok) {
    MW_LOG(MW_LOG_ERROR, "Error load json [%s]\n", kShippedViewPath);
    return true;
  }
  if (!user_ok) {
    MW_LOG(MW_LOG_ERROR, "Error load json [%s]\n", j_obj.path_.c_str());
    rewriteView();
    return true;
  }
  const long long shipped_version = VersionNumber(shipped[const_version_key_]);
  const long long user_version = VersionNumber(user[const_version_key_]);
  if (shipped_version > user_version) {
    MW_LOG(MW_LOG_INFO, "Json view versions [%lld] > [%lld]\n", shipped_version, user_version);
    rewriteView();
  }
  return true;
}

void AppJsonManager::rewriteView() {
  MW_LOG(MW_LOG_INFO, "Rewriting view json!\n");
  CopyFile(kShippedViewPath, j_view_.path_.c_str());
}

// ---- Applications --------------------------------------------------------------------------

std::shared_ptr<AppJsonDBData> AppJsonManager::GetApplication(const std::string& id) {
  MW_RETURN_IF(!load(j_db_), nullptr, "");
  load(j_view_);
  if (id.empty())
    return nullptr;
  if (id == kCommentId) {
    MW_LOG(MW_LOG_WARNING, "Reserved application id.\n");
    return nullptr;
  }
  if (apps_data_.count(id) == 0) {
    parseApplication(id);
    parseUserApplication(id);
    auto entry = apps_data_.find(id);
    if (entry != apps_data_.end() && !isApplicationValid(entry->second)) {
      entry->second.reset();
      MW_LOG(MW_LOG_WARNING, "Application [%s] not valid\n", id.c_str());
      return sys_null_;
    }
  }
  return answerFor(id);
}

std::shared_ptr<AppJsonDBData> AppJsonManager::answerFor(const std::string& id) {
  const std::shared_ptr<AppJsonDBData>& record = apps_data_[id];
  if (!record) {
    MW_LOG(MW_LOG_VERBOSE, "Application [%s] not found in database\n", id.c_str());
    return sys_null_;
  }
  if (!record->visible()) {
    MW_LOG(MW_LOG_VERBOSE, "Application [%s] not visible\n", id.c_str());
    return sys_null_;
  }
  return record;
}

void AppJsonManager::parseApplication(const std::string& id) {
  const Json::Value* app = JsonMember(j_db_.apps_, id);
  if (app == nullptr || !app->isObject()) {
    MW_LOG(MW_LOG_VERBOSE, "Application [%s] has no object in [%s]\n", id.c_str(),
           j_db_.path_.c_str());
    return;
  }
  std::shared_ptr<AppJsonDBData> record = parseFullApplication(id, *app, true);
  if (id == kPartnerStoreId && GetCustomizedPartner() == kPartnerStorePartner &&
      getDeviceConfigFlag(kPartnerStoreFlag) == 1) {
    record->setVisible("0");
  }
  apps_data_[id] = record;
  if (id == kPartnerOverrideId)
    applyPartnerOverride(id);
}

// The device's secure configuration may show or hide this application for the partner the device
// was made for: its key "app_<id>" holds a JSON object with a "visible" text.
void AppJsonManager::applyPartnerOverride(const std::string& id) {
  DeviceConfig* config = OpenConfig(kSecureConfigPath, nullptr);
  if (config == nullptr)
    return;
  const std::string text = ReadString(config, ("app_" + id).c_str(), "");
  CloseConfigNoSave(config);
  if (text.empty())
    return;
  Json::Value override_value;
  std::string error;
  if (!JsonFileReader::Parse(text, &override_value, &error) || override_value.isNull()) {
    MW_LOG(MW_LOG_WARNING, "Partner settings of [%s] not read: %s\n", id.c_str(), error.c_str());
    return;
  }
  const std::shared_ptr<AppJsonDBData>& record = apps_data_[id];
  if (!record)
    return;
  const std::string current = record->visibleFlag() ? "1" : "0";
  const Json::Value* visible = JsonMember(override_value, "visible");
  record->setVisible(visible != nullptr && visible->isString() ? visible->asString() : current);
}

void AppJsonManager::parseUserApplication(const std::string& id) {
  const Json::Value* app = JsonMember(j_view_.apps_, id);
  if (app == nullptr)
    return;
  if (!app->isObject()) {
    MW_LOG(MW_LOG_WARNING, "Application [%s] of [%s] is not an object\n", id.c_str(),
           j_view_.path_.c_str());
    return;
  }
  if (HasIdPrefix(id, kFirmwarePrefix)) {
    const auto entry = apps_data_.find(id);
    if (entry == apps_data_.end() || !entry->second) {
      MW_LOG(MW_LOG_WARNING, "Error: Try to change \"MW_\" application which not exist.\n");
      return;
    }
    entry->second->update(
        utilities::HumanText(parseValueString(*app, "title", "")), parseValuePath(*app, "icon", ""),
        parseValuePath(*app, "focused_icon", ""), parseValueString(*app, "visible", "1"));
  } else if (HasIdPrefix(id, kUserPrefix)) {
    std::shared_ptr<AppJsonDBData> record = parseFullApplication(id, *app, false);
    if (id == kHiddenUserAppId)
      record->setVisible("0");
    apps_data_[id] = record;
  }
}

std::shared_ptr<AppJsonDBData> AppJsonManager::parseFullApplication(const std::string& id,
                                                                    const Json::Value& app,
                                                                    bool check_path) {
  const std::string path = parseValueString(app, "path", "");
  bool visible = parseValueString(app, "visible", "1") == "1";
  if (check_path)
    visible = visible && pk_access(path.c_str(), F_OK) == 0;
  const Json::Value* hide = JsonMember(app, "hideInAccessibility");
  const bool hide_in_accessibility = hide != nullptr && hide->isBool() && hide->asBool();
  return std::make_shared<AppJsonDBData>(
      id, path, utilities::HumanText(parseValueString(app, "title", "")),
      parseValueArray(app, "params", {}), parseValuePath(app, "icon", ""),
      parseValuePath(app, "focused_icon", ""), visible, hide_in_accessibility);
}

bool AppJsonManager::isApplicationValid(const std::shared_ptr<AppJsonDBData>& record) {
  MW_RETURN_IF(!record, false, "");
  MW_RETURN_IF(record->appId().empty(), false, "");
  MW_RETURN_IF(record->path().empty(), false, "Application [%s]", record->appId().c_str());
  MW_RETURN_IF(record->title().empty(), false, "Application [%s]", record->appId().c_str());
  if (record->icon().empty())
    record->setIcons(kDefaultIcon, kDefaultFocusedIcon);
  return true;
}

std::vector<std::shared_ptr<AppJsonDBData>> AppJsonManager::GetVisibleApplications() {
  std::vector<std::shared_ptr<AppJsonDBData>> visible;
  MW_RETURN_IF(!load(j_db_), visible, "");
  load(j_view_);
  const auto collect = [&](const Json::Value& apps, const char* prefix) {
    for (const std::string& id : MemberNames(apps)) {
      if (!HasIdPrefix(id, prefix))
        continue;
      std::shared_ptr<AppJsonDBData> record = GetApplication(id);
      if (record && record->appId() != app_id_sys_null_ && record->visible()) {
        visible.push_back(record);
      }
    }
  };
  collect(j_db_.apps_, kFirmwarePrefix);
  collect(j_view_.apps_, kUserPrefix);
  return visible;
}

std::shared_ptr<AppJsonDBData> AppJsonManager::GetApplicationByPath(const std::string& path) {
  MW_RETURN_IF(!load(j_db_), nullptr, "");
  for (const std::string& id : MemberNames(j_db_.apps_)) {
    std::shared_ptr<AppJsonDBData> record = GetApplication(id);
    if (record && record->path() == path)
      return record;
  }
  return nullptr;
}

bool AppJsonManager::IsUserApplicationPath(const std::string& path) {
  MW_RETURN_IF(!load(j_view_), false, "");
  const std::string wanted = StripExternalRoot(path);
  for (const std::string& id : MemberNames(j_view_.apps_)) {
    if (!HasIdPrefix(id, kUserPrefix))
      continue;
    std::shared_ptr<AppJsonDBData> record = GetApplication(id);
    if (!record || record->appId() == app_id_sys_null_)
      continue;
    if (StripExternalRoot(record->path()) == wanted)
      return true;
  }
  return false;
}

void AppJsonManager::PrintComments() {
  if (!load(j_db_)) {
    MW_LOG(MW_LOG_WARNING, "Applications json data is not valid! Check \"apps.json\"!\n");
    return;
  }
  const Json::Value* comments = JsonMember(j_db_.apps_, kCommentId);
  if (comments == nullptr || !comments->isArray()) {
    MW_LOG(MW_LOG_INFO, "No comments for json found!\n");
    return;
  }
  for (const Json::Value& line : *comments) {
    if (!line.isString())
      break;
    std::cerr << line.asString();
  }
}

// ---- Groups --------------------------------------------------------------------------------

std::vector<AppGroupData> AppJsonManager::GetGroups() {
  if (!groups_parsed_) {
    groups_parsed_ = true;
    parseGroups();
  }
  return groups_;
}

void AppJsonManager::parseGroups() {
  MW_RETURN_VOID_IF(!load(j_view_), "");
  MW_RETURN_VOID_IF(!j_view_.groups_.isArray(), "");
  for (const Json::Value& group : j_view_.groups_) {
    if (!group.isObject())
      break;
    parseGroup(group);
  }
}

void AppJsonManager::parseGroup(const Json::Value& group) {
  const Json::Value* title = JsonMember(group, "title");
  MW_RETURN_VOID_IF(title == nullptr || !title->isString(), "Group without title skipped");
  AppGroupData data;
  data.title_ = title->asString();
  int visible_count = 0;
  const Json::Value* apps = JsonMember(group, "apps");
  if (apps != nullptr && apps->isArray()) {
    for (const Json::Value& id : *apps) {
      if (!id.isString())
        break;
      std::shared_ptr<AppJsonDBData> record = GetApplication(id.asString());
      if (!record || record->appId() == app_id_sys_null_)
        continue;
      data.apps_.push_back(id.asString());
      if (record->visible())
        ++visible_count;
    }
  }
  if (visible_count == 0) {
    MW_LOG(MW_LOG_INFO, "Skip empty group [%s]\n", data.title_.c_str());
    return;
  }
  const Json::Value* sort = JsonMember(group, "sort");
  data.sort_ = sort != nullptr && sort->isString() ? sort->asString() : "title";
  groups_.push_back(std::move(data));
}

// ---- Values and conditions -----------------------------------------------------------------

Json::Value AppJsonManager::resolvedValue(const Json::Value& obj, const std::string& key,
                                          bool* unresolved) {
  *unresolved = false;
  const Json::Value* value = JsonMember(obj, key);
  if (value == nullptr || value->isNull())
    return Json::Value();
  if (!value->isObject())
    return *value;
  Json::Value resolved = parseConditionalObject(key, *value);
  if (resolved.isNull()) {
    *unresolved = true;
    CATALOGUE_GUARD("obj.isNull()", "dflt", "%s", "");
  }
  return resolved;
}

std::string AppJsonManager::parseValueString(const Json::Value& obj, const std::string& key,
                                             const std::string& dflt) {
  bool unresolved = false;
  const Json::Value value = resolvedValue(obj, key, &unresolved);
  if (value.isNull())
    return dflt;
  if (value.isString())
    return value.asString();
  LogFieldError(key, "Error field type");
  return "";
}

std::string AppJsonManager::parseValuePath(const Json::Value& obj, const std::string& key,
                                           const std::string& dflt) {
  bool unresolved = false;
  const Json::Value value = resolvedValue(obj, key, &unresolved);
  if (value.isNull())
    return dflt;
  if (value.isString())
    return value.asString();
  if (IsPathObject(value))
    return kExternalRoot + value["path"].asString();
  LogFieldError(key, "Error field type");
  return "";
}

std::vector<std::string> AppJsonManager::parseValueArray(const Json::Value& obj,
                                                         const std::string& key,
                                                         const std::vector<std::string>& dflt) {
  bool unresolved = false;
  const Json::Value value = resolvedValue(obj, key, &unresolved);
  if (value.isNull())
    return dflt;
  if (value.isString())
    return {value.asString()};
  if (!value.isArray()) {
    LogFieldError(key, "Error field type");
    return {};
  }
  std::vector<std::string> list;
  for (const Json::Value& element : value) {
    if (!element.isString())
      break;
    list.push_back(element.asString());
  }
  return list;
}

Json::Value AppJsonManager::parseConditionalObject(const std::string& key,
                                                   const Json::Value& value) {
  if (IsPathObject(value))
    return value;
  if (!value.isObject())
    return Json::Value();
  const std::vector<std::string> names = value.getMemberNames();
  if (names.size() != 1) {
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
    LogFieldError(key,
                  "Error object format. Object has fields [" + joined + "] must be one object");
    return Json::Value();
  }
  const std::string& name = names.front();
  const Json::Value& cases = value[name];
  if (!cases.isObject()) {
    LogFieldError(key, "Error field type [" + name + "]");
    return Json::Value();
  }
  const auto parser = condition_parsers_.find(name);
  if (parser == condition_parsers_.end()) {
    LogFieldError(key, "Error: Not supported object name [" + name + "]");
    return Json::Value();
  }
  if (parser->second.use_count > 0) {
    LogFieldError(key, "Error: Declaration object [" + name + "] 2 or more times");
    return Json::Value();
  }
  return resolveCondition(key, name, parser->second, cases);
}

// The parser stays in use while its result is resolved further, so a condition nested inside
// itself is caught at any depth.
Json::Value AppJsonManager::resolveCondition(const std::string& key, const std::string& name,
                                             ConditionParser& parser, const Json::Value& cases) {
  ++parser.use_count;
  Json::Value result = parser.resolve(cases);
  if (result.isObject() && !IsPathObject(result))
    result = parseConditionalObject(key, result);
  --parser.use_count;
  if (IsPathObject(result) || result.isString() || result.isArray())
    return result;
  if (!result.isNull())
    MW_LOG(MW_LOG_DETAIL, "Condition [%s] of [%s] unusable\n", name.c_str(), key.c_str());
  return Json::Value();
}

// ---- Integrity -----------------------------------------------------------------------------

int AppJsonManager::CheckIntegrity() {
  integrity_checker_.ClearErrors();
  const bool database_ok = checkDatabaseIntegrity();
  const bool view_ok = checkViewIntegrity();
  if (database_ok && view_ok)
    return 1;
  const std::string errors = integrity_checker_.GetIntegrityCheckErrors();
  DialogSynchro(ICON_ERROR, "@Error", errors.c_str(), "@OK", nullptr, nullptr);
  return 0;
}

bool AppJsonManager::checkDatabaseIntegrity() {
  if (!integrity_checker_.IsFileChanged(kHashRecordPath, "hash1", j_db_.path_))
    return true;
  if (!load(j_db_)) {
    integrity_checker_.AddError("Failed load application data json file.");
    return false;
  }
  for (const char* key :
       {"device", "partner", "has_audio", "localization", "language", "has_cloud", "globalcfg"}) {
    integrity_checker_.AddChecker(key,
                                  std::make_shared<utilities::JsonIntegrityCheckerObjectParser>(
                                      &utilities::JsonIntegrityChecker::CheckAllPresent));
  }
  return integrity_checker_.CheckApplications(const_app_key_, j_db_.apps_, false);
}

// The view file is checked without condition keys: only "globalcfg" conditions and path objects
// are allowed there.
bool AppJsonManager::checkViewIntegrity() {
  if (!integrity_checker_.IsFileChanged(kHashRecordPath, "hash2", j_view_.path_))
    return true;
  if (!load(j_view_)) {
    integrity_checker_.AddError("Failed load view data json file.");
    return false;
  }
  integrity_checker_.ClearCheckers();
  const bool apps_ok = integrity_checker_.CheckApplications(const_app_key_, j_view_.apps_, true);
  const bool view_ok = integrity_checker_.CheckView(const_view_key_, j_view_.view_);
  return apps_ok && view_ok;
}

}  // namespace marrowleaf::desktop
