// The strict description of the application JSON files. It walks the application database and the
// user's view file, names every value by its dotted path ("applications.MW_Notes.title",
// "view.groups[2].apps[0]") and collects one readable error text per violation, so the user sees
// all of them in one dialog. A file is only checked when its MD5 digest differs from the one
// recorded at the last check, so a broken file is reported once. Checking never changes what the
// catalogue parses: the parser is lenient on its own.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <json/value.h>

#include "data/json_manager/JsonIntegrityCheckerObjectParser.h"

namespace marrowleaf::utilities {

class JsonIntegrityChecker {
 public:
  // Kinds of the leaves of a condition.
  static constexpr int kStringLeaves = 4;
  static constexpr int kStringOrArrayLeaves = 6;

  void AddChecker(const std::string& key, std::shared_ptr<JsonIntegrityCheckerObjectParser> parser);
  void ClearCheckers();
  void ClearErrors();
  void AddError(const std::string& text);
  const std::vector<std::string>& Errors() const { return errors_; }

  // Whether the file's digest differs from the one recorded under key in the record file; a new
  // digest is recorded at once. An unreadable record or file counts as changed.
  bool IsFileChanged(const std::string& record_path, const std::string& key,
                     const std::string& file_path);

  bool CheckApplications(const std::string& key, const Json::Value& value, bool user_file);
  bool CheckView(const std::string& key, const Json::Value& value);

  // "<n> errors found:\n - <first>\n - <second>..."; "" without errors. Each error is logged.
  std::string GetIntegrityCheckErrors() const;

  // The check of the seven condition keys: every condition has the case "all".
  static bool CheckAllPresent(JsonIntegrityChecker& checker, const std::string& path,
                              const Json::Value& value, int kind);
  bool CheckConditionValues(const std::string& path, const Json::Value& cases, int kind);

 private:
  bool CheckApplication(const std::string& path, const Json::Value& app, bool database,
                        bool user_app);
  bool CheckTextField(const std::string& path, const Json::Value& value, bool full);
  bool CheckListField(const std::string& path, const Json::Value& value);
  bool CheckObjectValue(const std::string& path, const Json::Value& value, int kind);
  bool CheckPathObject(const std::string& path, const Json::Value& value);
  bool CheckGlobalCfg(const std::string& path, const Json::Value& value, int kind);
  bool CheckGroups(const std::string& path, const Json::Value& groups);
  bool CheckGroup(const std::string& path, const Json::Value& group);
  bool CheckGroupText(const std::string& path, const Json::Value& group, const std::string& field);
  bool Fail(const std::string& text);

  std::vector<std::string> errors_;
  std::map<std::string, std::shared_ptr<JsonIntegrityCheckerObjectParser>> checkers_;
};

}  // namespace marrowleaf::utilities
