// One application as the catalogue knows it, its conditions already resolved for this device.
#pragma once

#include <string>
#include <vector>

namespace marrowleaf::desktop {

class AppJsonDBData {
 public:
  AppJsonDBData(std::string app_id, std::string path, std::string title,
                std::vector<std::string> params, std::string icon, std::string focused_icon,
                bool visible, bool hide_in_accessibility);

  const std::string& appId() const { return app_id_; }
  const std::string& path() const { return path_; }
  const std::string& title() const { return title_; }
  const std::vector<std::string>& params() const { return params_; }
  const std::string& icon() const { return icon_; }
  const std::string& focusedIcon() const { return focused_icon_; }
  bool hideInAccessibility() const { return hide_in_accessibility_; }
  // The stored flag, whatever the accessibility mode.
  bool visibleFlag() const { return visible_; }

  // Whether the application is shown: the stored flag, and while the user navigates by
  // accessibility focus only when it isn't hidden from that mode.
  bool visible() const;

  // The user's view file may rename, re-icon or hide a firmware application, never unhide it: an
  // empty text keeps the old value and only "0" changes the visibility.
  void update(const std::string& title, const std::string& icon, const std::string& focused_icon,
              const std::string& visible);
  // "1" shows, any other non-empty text hides, "" changes nothing.
  void setVisible(const std::string& visible);
  void setIcons(const std::string& icon, const std::string& focused_icon);

 private:
  std::string app_id_;
  std::string path_;
  std::string title_;
  std::vector<std::string> params_;
  std::string icon_;
  std::string focused_icon_;
  bool visible_;
  bool hide_in_accessibility_;
};

}  // namespace marrowleaf::desktop
