#include "data/AppDataManager.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include <json/writer.h>

#include "data/json_manager/JsonFileReader.h"
#include "data/json_manager/JsonMember.h"
#include "platform/sdk/device.h"
#include "platform/sdk/device_features.h"
#include "platform/sdk/files.h"
#include "platform/sdk/lang.h"
#include "platform/sdk/log.h"

namespace marrowleaf::desktop {

namespace {

constexpr int kListVersion = 1;
const char kBundleSuffix[] = ".app";
constexpr size_t kBundleSuffixLength = sizeof kBundleSuffix - 1;
const char kBundlePrefix[] = "UR_";
const char kUsersGroup[] = "@Users";
// The model whose audio output only counts when its firmware switch 5 is set.
constexpr int kModelWithOptionalAudio = 21;
constexpr int kOptionalAudioFlag = 5;
// A partner whose default list is chosen by name although its partner code is 0.
const char kNamedPartner[] = "marschpat";

// The firm's own names, and no name at all, all mean the uncustomised firmware.
std::string NormalisedPartner(const std::string& partner) {
  if (partner.empty() || partner == "marrowleaf" || partner == "marrowshop")
    return "default";
  return partner;
}

std::string CurrentPartnerName() {
  const char* name = GetCustomizedPartnerName();
  return name != nullptr ? name : "";
}

bool EndsWithBundleSuffix(const std::string& name) {
  if (name.size() <= kBundleSuffixLength)
    return false;
  const std::string tail = name.substr(name.size() - kBundleSuffixLength);
  return std::equal(tail.begin(), tail.end(), kBundleSuffix, [](char a, char b) {
    return std::tolower(static_cast<unsigned char>(a)) == b;
  });
}

// A regular file, or a symbolic link whose target exists.
bool IsBundleFile(const std::string& device_path) {
  const std::string host = HostPath(device_path);
  struct stat info {};
  if (lstat(host.c_str(), &info) != 0)
    return false;
  if (S_ISREG(info.st_mode))
    return true;
  return S_ISLNK(info.st_mode) && stat(host.c_str(), &info) == 0;
}

std::vector<std::string> FolderEntries(const std::string& device_path) {
  std::vector<std::string> names;
  DIR* folder = opendir(HostPath(device_path).c_str());
  if (folder == nullptr)
    return names;
  while (const dirent* entry = readdir(folder)) names.push_back(entry->d_name);
  closedir(folder);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

AppDataManager& AppDataManager::GetInstance() {
  static AppDataManager* instance = [] {
    auto* manager = new AppDataManager();
    manager->Reload();
    return manager;
  }();
  return *instance;
}

bool AppDataManager::Reload() {
  return LoadApplicationList() || LoadApplicationList();
}

// ---- The row -------------------------------------------------------------------------------

bool AppDataManager::LoadApplicationList() {
  row_.clear();
  read_only_ = !app_json_manager_.DatabaseLoads();
  if (read_only_)
    MW_LOG(MW_LOG_ERROR, "No application database: the shortcut row is shown, not changed\n");
  std::string stored_partner;
  ReadUserList(&stored_partner);
  RemoveNullApplications();
  if (read_only_)
    return true;
  if (!row_.empty() &&
      NormalisedPartner(stored_partner) == NormalisedPartner(CurrentPartnerName())) {
    return true;
  }
  const std::string source = GetExistJson(DefaultListAddons());
  MW_LOG(MW_LOG_INFO, "exist_json for copy [%s]\n", source.c_str());
  pk_buildpath(kUserListPath);
  const bool copied = copy_file(source.c_str(), kUserListPath) == 0;
  MW_LOG(MW_LOG_INFO, "copy result [%s]\n", copied ? "true" : "false");
  return false;
}

void AppDataManager::ReadUserList(std::string* stored_partner) {
  if (pk_access(kUserListPath, F_OK) != 0)
    return;
  Json::Value root;
  if (!JsonFileReader::ReadFile(kUserListPath, &root) || !root.isObject())
    return;
  const Json::Value* applications = JsonMember(root, "applications");
  if (applications == nullptr)
    return;
  const Json::Value* partner = JsonMember(root, "partner");
  if (partner != nullptr && partner->isString())
    *stored_partner = partner->asString();
  if (!applications->isArray())
    return;
  for (const Json::Value& entry : *applications) {
    if (entry.isNull())
      break;
    const Json::Value* id = JsonMember(entry, "id");
    if (id != nullptr && id->isString() && !id->asString().empty()) {
      row_.push_back(GetAppData(id->asString()));
    }
  }
}

std::vector<std::string> AppDataManager::DefaultListAddons() const {
  std::vector<std::string> addons;
  if (device_touchpanel() == 0)
    addons.push_back(".notouch");
  if (device_audio() != 0 && (device_model_id() != kModelWithOptionalAudio ||
                              getDeviceConfigFlag(kOptionalAudioFlag) != 0)) {
    addons.push_back(".has_audio");
  }
  if (GetCustomizedPartner() != 0 || NormalisedPartner(CurrentPartnerName()) == kNamedPartner) {
    addons.push_back("." + CurrentPartnerName());
  }
  return addons;
}

// The candidates run from every addon down to none; a counter whose most significant bit stands
// for the first addon gives them in that order.
std::string AppDataManager::GetExistJson(const std::vector<std::string>& addons) const {
  for (const std::string& addon : addons) MW_LOG(MW_LOG_INFO, "addons [%s]\n", addon.c_str());
  const size_t count = addons.size();
  for (unsigned long mask = (1UL << count); mask-- > 0;) {
    std::string candidate = kDefaultListPath;
    for (size_t i = 0; i < count; ++i) {
      if (mask & (1UL << (count - 1 - i)))
        candidate += addons[i];
    }
    MW_LOG(MW_LOG_INFO, "Try access json [%s]\n", candidate.c_str());
    if (pk_access(candidate.c_str(), F_OK) == 0)
      return candidate;
  }
  return kDefaultListPath;
}

void AppDataManager::SaveApplicationList() {
  if (read_only_)
    return;
  pk_buildpath(kUserListPath);
  if (row_.empty()) {
    pk_unlink(kUserListPath);
    return;
  }
  Json::Value document(Json::objectValue);
  document["version"] = kListVersion;
  document["partner"] = CurrentPartnerName();
  Json::Value& applications = document["applications"] = Json::Value(Json::arrayValue);
  for (const std::shared_ptr<AppData>& entry : row_) {
    Json::Value application(Json::objectValue);
    application["id"] = entry->appId();
    applications.append(application);
  }
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  const std::string text = Json::writeString(writer, document) + "\n";
  MW_LOG(MW_LOG_VERBOSE, "application list json: [%s]\n", text.c_str());
  if (WriteFileAtomically(kUserListPath, text) != 0) {
    MW_LOG(MW_LOG_ERROR, "Can't write [%s]\n", kUserListPath);
  }
}

std::shared_ptr<AppData> AppDataManager::GetAppDataAt(int index) const {
  if (index < 0 || index >= GetApplicationsCount())
    return nullptr;
  return row_[static_cast<size_t>(index)];
}

std::shared_ptr<AppData> AppDataManager::GetAppData(const std::string& id) {
  std::shared_ptr<AppJsonDBData> record = app_json_manager_.GetApplication(id);
  if (!record)
    record = app_json_manager_.GetNullApplication();
  if (record->appId() == AppJsonManager::app_id_sys_null_) {
    ScanUserBundles();
    for (const std::shared_ptr<AppData>& bundle : user_bundles_) {
      if (bundle->appId() == id)
        return bundle;
    }
    return std::make_shared<AppData>(false, record);
  }
  return std::make_shared<AppData>(true, record);
}

void AppDataManager::InsertApplication(const std::string& id, int position, bool save) {
  position = std::clamp(position, 0, GetApplicationsCount());
  row_.insert(row_.begin() + position, GetAppData(id));
  if (save)
    SaveApplicationList();
}

void AppDataManager::RemoveApplication(int index) {
  if (index < 0 || index >= GetApplicationsCount())
    return;
  row_.erase(row_.begin() + index);
  SaveApplicationList();
}

void AppDataManager::MoveApplication(int index, int delta) {
  const int target = index + delta;
  const int count = GetApplicationsCount();
  if (target < 0 || index < 0 || index >= count || target >= count)
    return;
  std::swap(row_[static_cast<size_t>(index)], row_[static_cast<size_t>(target)]);
  SaveApplicationList();
}

// While the user navigates by accessibility focus, an empty slot before the chosen one shifts the
// choice one place on. An id that names no application never replaces an entry.
void AppDataManager::SetApplication(int index, const std::string& id) {
  const int count = GetApplicationsCount();
  if (index >= 0 && index < count) {
    int target = index;
    if (accessibilityFocusEnable() != 0 && index + 1 < count) {
      const bool empty_before = std::any_of(row_.begin(), row_.begin() + index + 1,
                                            [](const auto& entry) { return !entry->known(); });
      if (empty_before)
        target = index + 1;
    }
    std::shared_ptr<AppData> data = GetAppData(id);
    if (data->known())
      row_[static_cast<size_t>(target)] = data;
  }
  RemoveNullApplications();
}

void AppDataManager::RemoveNullApplications() {
  row_.erase(std::remove_if(row_.begin(), row_.end(),
                            [](const std::shared_ptr<AppData>& entry) {
                              return entry->appId() == AppJsonManager::app_id_sys_null_;
                            }),
             row_.end());
  SaveApplicationList();
}

bool AppDataManager::IsInRow(const std::string& id) const {
  return std::any_of(row_.begin(), row_.end(),
                     [&id](const std::shared_ptr<AppData>& entry) { return entry->appId() == id; });
}

// ---- Bundles on the storage ----------------------------------------------------------------

void AppDataManager::ScanUserBundles() {
  if (user_bundles_scanned_)
    return;
  user_bundles_scanned_ = true;
  for (const std::string& name : FolderEntries(kBundleFolder)) {
    if (!EndsWithBundleSuffix(name))
      continue;
    const std::string path = std::string(kBundleFolder) + "/" + name;
    if (!IsBundleFile(path))
      continue;
    // A bundle the catalogue already declares is shown as that application.
    if (app_json_manager_.GetApplicationByPath(path) ||
        app_json_manager_.IsUserApplicationPath(path)) {
      continue;
    }
    user_bundles_.push_back(MakeBundle(name));
  }
}

std::shared_ptr<AppData> AppDataManager::MakeBundle(const std::string& name) {
  const std::string stem = name.substr(0, name.size() - kBundleSuffixLength);
  auto record =
      std::make_shared<AppJsonDBData>(kBundlePrefix + stem, std::string(kBundleFolder) + "/" + name,
                                      GetLangText(("@" + stem).c_str()), std::vector<std::string>(),
                                      "desktop_app_unknown", "desktop_app_unknown_f", true, false);
  return std::make_shared<AppData>(true, record);
}

// ---- Lists for the views and menus ---------------------------------------------------------

void AppDataManager::SortByTitle(std::vector<std::string>* ids) {
  std::vector<std::pair<std::string, std::string>> titled;
  for (const std::string& id : *ids) titled.emplace_back(GetAppData(id)->record()->title(), id);
  std::stable_sort(titled.begin(), titled.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  ids->clear();
  for (const auto& entry : titled) ids->push_back(entry.second);
}

std::vector<AppGroupData> AppDataManager::GetGroupsForView() {
  std::vector<AppGroupData> groups = app_json_manager_.GetGroups();
  ScanUserBundles();
  if (!user_bundles_.empty()) {
    auto users = std::find_if(groups.begin(), groups.end(), [](const AppGroupData& group) {
      return group.title_ == kUsersGroup;
    });
    if (users == groups.end()) {
      groups.push_back(AppGroupData{kUsersGroup, "title", {}});
      users = groups.end() - 1;
    }
    for (const std::shared_ptr<AppData>& bundle : user_bundles_)
      users->apps_.push_back(bundle->appId());
  }
  for (AppGroupData& group : groups) {
    group.apps_.erase(std::remove_if(group.apps_.begin(), group.apps_.end(),
                                     [this](const std::string& id) { return IsInRow(id); }),
                      group.apps_.end());
  }
  groups.erase(std::remove_if(groups.begin(), groups.end(),
                              [](const AppGroupData& group) { return group.apps_.empty(); }),
               groups.end());
  for (AppGroupData& group : groups) SortByTitle(&group.apps_);
  groups_ = groups;
  return groups;
}

std::vector<std::shared_ptr<AppDataForMenu>> AppDataManager::GetMenuApplications() {
  if (!menu_applications_built_) {
    menu_applications_built_ = true;
    for (const std::shared_ptr<AppJsonDBData>& app : app_json_manager_.GetVisibleApplications()) {
      menu_applications_.push_back(
          std::make_shared<AppDataForMenu>(app->appId(), app->title(), app->icon(),
                                           app->appId() != AppJsonManager::app_id_sys_apps_));
    }
    ScanUserBundles();
    for (const std::shared_ptr<AppData>& bundle : user_bundles_) {
      const AppJsonDBData& app = *bundle->record();
      menu_applications_.push_back(
          std::make_shared<AppDataForMenu>(app.appId(), app.title(), app.icon(), true));
    }
  }
  std::vector<std::shared_ptr<AppDataForMenu>> offered;
  for (const std::shared_ptr<AppDataForMenu>& app : menu_applications_) {
    if (!IsInRow(app->id_))
      offered.push_back(app);
  }
  std::stable_sort(offered.begin(), offered.end(),
                   [](const auto& a, const auto& b) { return a->title_ < b->title_; });
  return offered;
}

std::vector<std::shared_ptr<AppDataForMenu>> AppDataManager::BuildRowMenu() {
  while (GetApplicationsCount() < max_applications_) {
    row_.push_back(GetAppData(AppJsonManager::app_id_sys_null_));
  }
  std::vector<std::shared_ptr<AppDataForMenu>> menu;
  for (const std::shared_ptr<AppData>& entry : row_) {
    const AppJsonDBData& app = *entry->record();
    if (!entry->known()) {
      menu.push_back(std::make_shared<AppDataForMenu>(app.appId(), GetLangText("@Empty"),
                                                      "checkbox_off", true));
    } else {
      menu.push_back(std::make_shared<AppDataForMenu>(
          app.appId(), app.title() + " (" + GetLangText("@Replace") + ")", app.icon(),
          app.appId() != AppJsonManager::app_id_sys_apps_));
    }
  }
  return menu;
}

}  // namespace marrowleaf::desktop
