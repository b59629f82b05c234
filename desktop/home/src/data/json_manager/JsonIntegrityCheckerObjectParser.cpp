#include "data/json_manager/JsonIntegrityCheckerObjectParser.h"

namespace marrowleaf::utilities {

bool JsonIntegrityCheckerObjectParser::Run(JsonIntegrityChecker& checker, const std::string& path,
                                           const Json::Value& value, int kind) {
  ++use_count_;
  const bool ok = check_(checker, path, value, kind);
  --use_count_;
  return ok;
}

}  // namespace marrowleaf::utilities
