// The check of one condition key of the application JSON files, with the counter that tells when
// the condition is nested inside itself.
#pragma once

#include <functional>
#include <string>

#include <json/value.h>

namespace marrowleaf::utilities {

class JsonIntegrityChecker;

class JsonIntegrityCheckerObjectParser {
 public:
  // Arguments: the checker collecting the errors, the dotted path of the value, the value and the
  // kind of leaves allowed (JsonIntegrityChecker::kStringLeaves or kStringOrArrayLeaves).
  using CheckFunction =
      std::function<bool(JsonIntegrityChecker&, const std::string&, const Json::Value&, int)>;

  explicit JsonIntegrityCheckerObjectParser(CheckFunction check) : check_(std::move(check)) {}

  bool InUse() const { return use_count_ != 0; }
  // Runs the check, counted as in use meanwhile.
  bool Run(JsonIntegrityChecker& checker, const std::string& path, const Json::Value& value,
           int kind);

 private:
  CheckFunction check_;
  int use_count_ = 0;
};

}  // namespace marrowleaf::utilities
