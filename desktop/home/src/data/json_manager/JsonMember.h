// Safe member lookup in JSON values of outside files, whose types can't be trusted.
#pragma once

#include <string>

#include <json/value.h>

namespace marrowleaf::desktop {

// The member of an object, or nullptr when the value is no object or has no such member.
inline const Json::Value* JsonMember(const Json::Value& object, const std::string& name) {
  if (!object.isObject())
    return nullptr;
  return object.find(name.data(), name.data() + name.size());
}

}  // namespace marrowleaf::desktop
