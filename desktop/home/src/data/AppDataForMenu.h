// What a menu entry shows of one application.
#pragma once

#include <string>
#include <utility>

namespace marrowleaf::desktop {

struct AppDataForMenu {
  AppDataForMenu(std::string id, std::string title, std::string icon, bool is_application)
      : id_(std::move(id)),
        title_(std::move(title)),
        icon_(std::move(icon)),
        is_application_(is_application) {}

  std::string id_;
  std::string title_;
  std::string icon_;
  // False for the entry that opens the applications screen ("SYS_Apps").
  bool is_application_;
};

}  // namespace marrowleaf::desktop
