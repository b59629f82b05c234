// A resolver of one condition key ("device", "language", ...) with the counter that tells when the
// same condition is being resolved inside itself.
#pragma once

#include <functional>

#include <json/value.h>

namespace marrowleaf::desktop {

struct ConditionParser {
  // Chooses the case of the cases object that fits this device; null when none does.
  std::function<Json::Value(const Json::Value& cases)> resolve;
  int use_count = 0;
};

}  // namespace marrowleaf::desktop
