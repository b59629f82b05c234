// One entry of the user's shortcut row or of an application list: an application, or an empty slot
// when the id it was made from names no usable application.
#pragma once

#include <memory>
#include <string>
#include <utility>

#include "data/json_manager/AppJsonDBData.h"

namespace marrowleaf::desktop {

class AppData {
 public:
  AppData(bool known, std::shared_ptr<AppJsonDBData> record)
      : known_(known), record_(std::move(record)) {}

  // False for an empty slot ("SYS_Null").
  bool known() const { return known_; }
  const std::shared_ptr<AppJsonDBData>& record() const { return record_; }
  const std::string& appId() const { return record_->appId(); }

 private:
  bool known_;
  std::shared_ptr<AppJsonDBData> record_;
};

}  // namespace marrowleaf::desktop
