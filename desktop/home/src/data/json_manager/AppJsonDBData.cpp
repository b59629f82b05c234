#include "data/json_manager/AppJsonDBData.h"

#include "platform/sdk/device_features.h"

namespace marrowleaf::desktop {

AppJsonDBData::AppJsonDBData(std::string app_id, std::string path, std::string title,
                             std::vector<std::string> params, std::string icon,
                             std::string focused_icon, bool visible, bool hide_in_accessibility)
    : app_id_(std::move(app_id)),
      path_(std::move(path)),
      title_(std::move(title)),
      params_(std::move(params)),
      icon_(std::move(icon)),
      focused_icon_(std::move(focused_icon)),
      visible_(visible),
      hide_in_accessibility_(hide_in_accessibility) {}

bool AppJsonDBData::visible() const {
  if (accessibilityFocusEnable() != 0)
    return visible_ && !hide_in_accessibility_;
  return visible_;
}

void AppJsonDBData::update(const std::string& title, const std::string& icon,
                           const std::string& focused_icon, const std::string& visible) {
  if (!title.empty())
    title_ = title;
  if (!icon.empty())
    icon_ = icon;
  if (!focused_icon.empty())
    focused_icon_ = focused_icon;
  if (visible == "0")
    visible_ = false;
}

void AppJsonDBData::setVisible(const std::string& visible) {
  if (visible.empty())
    return;
  visible_ = visible == "1";
}

void AppJsonDBData::setIcons(const std::string& icon, const std::string& focused_icon) {
  icon_ = icon;
  focused_icon_ = focused_icon;
}

}  // namespace marrowleaf::desktop
