#pragma once

#include <string>

#include "platform/mw/Layout.h"

class MWWindow;

// Loads named window trees of the selected layout file into windows:
//   LayoutManager manager;
//   manager.SetLayout(Layout::fromKey(std::string("desktop") + GetThemeString("layouts_suffix",
//   ""))); manager.LoadLayout("MainView", this);
// The tree's root describes the window itself (look, attributes); its children become owned
// children of the window, made through the WindowFactory. What the file gets wrong (unknown
// classes, missing or mistyped fields) is logged and skipped; the rest is loaded.
class LayoutManager {
 public:
  // The most windows one LoadLayout makes and the deepest nesting it follows; the rest of a larger
  // tree is logged and skipped.
  static constexpr int kMaxWindows = 4096;
  static constexpr int kMaxDepth = 32;

  LayoutManager() = default;
  explicit LayoutManager(const Layout& layout) : layout_(layout) {}

  void SetLayout(const Layout& layout) { layout_ = layout; }
  const Layout& GetLayout() const { return layout_; }

  // 0 when the tree was loaded, -1 when the file or the tree is missing.
  int LoadLayout(const std::string& name, MWWindow* window) const;

 private:
  Layout layout_;
};
