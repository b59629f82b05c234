#pragma once

#include <memory>
#include <string>
#include <vector>

namespace marrowleaf::platform {
class LayoutDocument;
}

// One layout file: a set of named window trees. The key names the file: Layout::fromKey("desktop")
// reads "/ebrmain/layouts/desktop.json"; applications add the theme's "layouts_suffix" to the key
// to pick a theme's variant ("desktop" + "_dark"). A file that can't be read or parsed gives a
// layout without trees (IsValid false), and loading from it does nothing.
class Layout {
 public:
  Layout() = default;
  static Layout fromKey(const std::string& key);
  // A layout parsed from text instead of a file (tools and tests); `source` names it in logs.
  static Layout FromText(const std::string& text, const std::string& source);
  // The device folder of the layout files.
  static const char* Folder();

  const std::string& Key() const { return key_; }
  std::string FilePath() const;
  bool IsValid() const { return document_ != nullptr; }
  bool HasLayout(const std::string& name) const;
  std::vector<std::string> LayoutNames() const;
  const marrowleaf::platform::LayoutDocument* Document() const { return document_.get(); }

 private:
  std::string key_;
  std::shared_ptr<const marrowleaf::platform::LayoutDocument> document_;
};
