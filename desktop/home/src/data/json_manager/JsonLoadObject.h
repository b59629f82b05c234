// One application JSON file as it was loaded: the document and the parts the catalogue reads.
#pragma once

#include <string>

#include <json/value.h>

namespace marrowleaf::desktop {

struct JsonLoadObject {
  enum class Kind { kDatabase, kView };

  JsonLoadObject(std::string path, Kind kind) : path_(std::move(path)), kind_(kind) {}

  Json::Value root_;
  Json::Value apps_;       // "applications"
  Json::Value view_;       // "view" (view files)
  Json::Value groups_;     // "view"."groups" (view files)
  bool loaded_ = false;    // a load was attempted; it is never tried again
  bool is_valid_ = false;  // the load succeeded
  std::string path_;
  Kind kind_;
};

}  // namespace marrowleaf::desktop
