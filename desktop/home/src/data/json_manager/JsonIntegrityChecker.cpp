#include "data/json_manager/JsonIntegrityChecker.h"

#include "data/json_manager/AppIdPrefix.h"

#include "platform/sdk/config.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"
#include "platform/utils/Md5Digest.h"

namespace marrowleaf::utilities {

namespace {

// A file larger than this is digested by its first bytes only; the catalogue refuses such a file
// anyway, so a change beyond them changes nothing the user would see.
constexpr size_t kMaxDigestBytes = 16 * 1024 * 1024;

std::string JoinedNames(const Json::Value& object) {
  std::string names;
  for (const std::string& name : object.getMemberNames()) {
    if (!names.empty())
      names += ", ";
    names += name;
  }
  return names;
}

bool IsTextField(const std::string& name) {
  return name == "title" || name == "icon" || name == "focused_icon" || name == "ctrl_panel_icon";
}

}  // namespace

void JsonIntegrityChecker::AddChecker(const std::string& key,
                                      std::shared_ptr<JsonIntegrityCheckerObjectParser> parser) {
  MW_RETURN_VOID_IF(checkers_.count(key), "Checker with key [%s] already added", key.c_str());
  checkers_.emplace(key, std::move(parser));
}

void JsonIntegrityChecker::ClearCheckers() {
  checkers_.clear();
}

void JsonIntegrityChecker::ClearErrors() {
  errors_.clear();
}

void JsonIntegrityChecker::AddError(const std::string& text) {
  errors_.push_back(text);
}

bool JsonIntegrityChecker::Fail(const std::string& text) {
  AddError(text);
  return false;
}

bool JsonIntegrityChecker::IsFileChanged(const std::string& record_path, const std::string& key,
                                         const std::string& file_path) {
  pk_buildpath(record_path.c_str());
  DeviceConfig* record = OpenConfig(record_path.c_str(), nullptr);
  if (record == nullptr)
    return true;
  const std::string stored = ReadString(record, key.c_str(), "");
  std::string content;
  if (!ReadFileCapped(file_path, kMaxDigestBytes, &content)) {
    CloseConfigNoSave(record);
    return true;
  }
  const std::string digest = Md5Digest::HexOf(content);
  if (digest == stored) {
    CloseConfigNoSave(record);
    return false;
  }
  WriteString(record, key.c_str(), digest.c_str());
  CloseConfig(record);
  return true;
}

bool JsonIntegrityChecker::CheckApplications(const std::string& key, const Json::Value& value,
                                             bool user_file) {
  if (!value.isObject())
    return false;
  bool ok = true;
  for (const std::string& name : value.getMemberNames()) {
    if (name == "_comment")
      continue;
    const std::string path = key + "." + name;
    const Json::Value& app = value[name];
    if (!app.isObject()) {
      ok = Fail("Error application type [" + path + "]");
    } else if (desktop::HasIdPrefix(name, "MW_")) {
      ok = CheckApplication(path, app, !user_file, false) && ok;
    } else if (desktop::HasIdPrefix(name, "U_") && user_file) {
      ok = CheckApplication(path, app, false, true) && ok;
    } else {
      ok = Fail("Error application id [" + path + "]");
    }
  }
  return ok;
}

bool JsonIntegrityChecker::CheckApplication(const std::string& path, const Json::Value& app,
                                            bool database, bool user_app) {
  // A full definition declares an application; anything else overrides a firmware one.
  const bool full = database || user_app;
  bool ok = true;
  for (const std::string& name : app.getMemberNames()) {
    const std::string field = path + "." + name;
    const Json::Value& value = app[name];
    if (IsTextField(name) || (full && name == "path")) {
      ok = CheckTextField(field, value, full) && ok;
    } else if (name == "visible") {
      ok = CheckTextField(field, value, full) && ok;
      if (!full && value.isString() && value.asString() != "0") {
        ok = Fail("Error application field value [" + field + "], can be only \"0\"");
      }
    } else if (full && name == "params") {
      ok = CheckListField(field, value) && ok;
    } else if (full && name == "hideInAccessibility") {
      if (!value.isBool())
        ok = Fail("Error application field type [" + field + "]");
    } else {
      ok = Fail("Unsupported application field [" + field + "]");
    }
  }
  if (!full)
    return ok;
  for (const char* required : {"path", "title"}) {
    if (!app.isMember(required))
      ok = Fail("Required field not set [" + path + "." + required + "]");
  }
  return ok;
}

bool JsonIntegrityChecker::CheckTextField(const std::string& path, const Json::Value& value,
                                          bool full) {
  if (full && value.isObject())
    return CheckObjectValue(path, value, kStringLeaves);
  if (!value.isString())
    return Fail("Error application field type [" + path + "]");
  return true;
}

bool JsonIntegrityChecker::CheckListField(const std::string& path, const Json::Value& value) {
  if (value.isObject())
    return CheckObjectValue(path, value, kStringOrArrayLeaves);
  if (!value.isArray() && !value.isString()) {
    return Fail("Error application field type [" + path + "]");
  }
  return true;
}

bool JsonIntegrityChecker::CheckObjectValue(const std::string& path, const Json::Value& value,
                                            int kind) {
  if (value.size() != 1) {
    return Fail("Error object format. Object [" + path + "] has fields [" + JoinedNames(value) +
                "] must be one object");
  }
  const std::string name = value.getMemberNames().front();
  const Json::Value& member = value[name];
  if (!member.isObject()) {
    if (name == "path")
      return CheckPathObject(path, value);
    return Fail("Error field type [" + name + "] of object [" + path + "]");
  }
  if (name == "globalcfg")
    return CheckGlobalCfg(path + ".globalcfg", member, kind);
  const auto checker = checkers_.find(name);
  if (checker == checkers_.end()) {
    return Fail("Error: Not supported object name [" + name + "] of object [" + path + "]");
  }
  if (checker->second->InUse()) {
    return Fail("Error: Declaration object name [" + name + "] 2 or more times in object [" + path +
                "]");
  }
  // The map may not change while a parser runs, but hold the parser in case it is cleared.
  const std::shared_ptr<JsonIntegrityCheckerObjectParser> parser = checker->second;
  return parser->Run(*this, path + "." + name, member, kind);
}

bool JsonIntegrityChecker::CheckAllPresent(JsonIntegrityChecker& checker, const std::string& path,
                                           const Json::Value& value, int kind) {
  if (!value.isObject()) {
    return checker.Fail("Error field type [" + path + "] must be \"object\"");
  }
  bool ok = true;
  if (!value.isMember("all") || value["all"].isNull()) {
    ok = checker.Fail("Error: \"all\" value not found for [" + path + "]");
  }
  return checker.CheckConditionValues(path, value, kind) && ok;
}

bool JsonIntegrityChecker::CheckConditionValues(const std::string& path, const Json::Value& cases,
                                                int kind) {
  bool ok = true;
  for (const std::string& name : cases.getMemberNames()) {
    const std::string field = path + "." + name;
    const Json::Value& value = cases[name];
    if (value.isObject()) {
      ok = CheckObjectValue(field, value, kind) && ok;
    } else if (kind == kStringOrArrayLeaves) {
      if (!value.isString() && !value.isArray()) {
        ok = Fail("Error field type [" + field + "] must be \"string\" or \"array\"");
      }
    } else if (!value.isString()) {
      ok = Fail("Error field type [" + field + "] must be \"string\"");
    }
  }
  return ok;
}

bool JsonIntegrityChecker::CheckPathObject(const std::string& path, const Json::Value& value) {
  const std::string type_error =
      "Error field type [" + path + "] must be \"string\" or object path";
  if (value.isString())
    return true;
  if (!value.isObject())
    return Fail(type_error);
  bool ok = true;
  for (const std::string& name : value.getMemberNames()) {
    if (name != "path") {
      ok = Fail("Unsupported field [" + path + "." + name + "]. Support only \"path\"");
    } else if (!value[name].isString()) {
      ok = Fail(type_error);
    }
  }
  return ok;
}

bool JsonIntegrityChecker::CheckGlobalCfg(const std::string& path, const Json::Value& value,
                                          int kind) {
  if (value.size() != 1)
    return Fail("Error field [" + path + "] must have only one object");
  const std::string key = value.getMemberNames().front();
  const std::string field = path + "." + key;
  const Json::Value& settings = value[key];
  if (!settings.isObject())
    return Fail("Error field type [" + field + "] must be \"object\"");
  // A missing default is one error among others: the case values are checked all the same, so
  // every fault of the setting is reported at once.
  bool ok = true;
  if (!settings.isMember("default"))
    ok = Fail("Error: \"default\" value not found for [" + field + "]");
  return CheckConditionValues(field, settings, kind) && ok;
}

bool JsonIntegrityChecker::CheckView(const std::string& key, const Json::Value& value) {
  if (!value.isObject())
    return false;
  bool ok = true;
  for (const std::string& name : value.getMemberNames()) {
    if (name == "_comment")
      continue;
    const std::string path = key + "." + name;
    const Json::Value& member = value[name];
    if (!member.isArray()) {
      ok = Fail("Error view field type [" + path + "]");
    } else if (name != "groups") {
      ok = Fail("Error view field name [" + path + "] support only \"groups\"");
    } else {
      ok = CheckGroups(path, member) && ok;
    }
  }
  return ok;
}

bool JsonIntegrityChecker::CheckGroups(const std::string& path, const Json::Value& groups) {
  bool ok = true;
  for (Json::ArrayIndex i = 0; i < groups.size(); ++i) {
    const Json::Value& group = groups[i];
    if (!group.isObject())
      break;
    ok = CheckGroup(path + "[" + std::to_string(i) + "]", group) && ok;
  }
  return ok;
}

bool JsonIntegrityChecker::CheckGroup(const std::string& path, const Json::Value& group) {
  bool ok = CheckGroupText(path, group, "title");
  if (!group.isMember("title"))
    ok = Fail("Required field not set [" + path + ".title]");
  ok = CheckGroupText(path, group, "sort") && ok;
  if (!group.isMember("apps"))
    return ok;
  const Json::Value& apps = group["apps"];
  if (!apps.isArray())
    return Fail("Error field type [" + path + ".apps]");
  for (Json::ArrayIndex i = 0; i < apps.size() && !apps[i].isNull(); ++i) {
    if (!apps[i].isString()) {
      ok = Fail("Error field type [" + path + ".apps[" + std::to_string(i) + "]]");
    }
  }
  return ok;
}

bool JsonIntegrityChecker::CheckGroupText(const std::string& path, const Json::Value& group,
                                          const std::string& field) {
  if (!group.isMember(field))
    return true;
  const Json::Value& value = group[field];
  if (!value.isString())
    return Fail("Error field type [" + path + "." + field + "]");
  if (value.asString().empty()) {
    return Fail("Error field value [" + path + "." + field + "], cannot be empty");
  }
  return true;
}

std::string JsonIntegrityChecker::GetIntegrityCheckErrors() const {
  if (errors_.empty())
    return "";
  std::string text = std::to_string(errors_.size()) + " errors found:\n";
  for (size_t i = 0; i < errors_.size(); ++i) {
    MW_LOG(MW_LOG_ERROR, "Integrity check error: %s\n", errors_[i].c_str());
    if (i > 0)
      text += "\n";
    text += " - " + errors_[i];
  }
  return text;
}

}  // namespace marrowleaf::utilities
