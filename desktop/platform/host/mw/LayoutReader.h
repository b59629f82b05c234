#pragma once

#include <string>

#include <json/value.h>

#include "LayoutDocument.h"
#include "LayoutUnits.h"
#include "platform/mw/LayoutManager.h"
#include "platform/mw/MWRect.h"

class AttributeLoader;
class MWWindow;
struct MWFont;

namespace marrowleaf::platform {

// Builds windows from the trees of a layout document. A window of a tree:
//   {
//     "class": "MWLabel",            registered class name (default "MWWindow")
//     "name": "title",
//     "prototype": "TileBase",       a tree of "prototypes" whose fields this one overrides
//     "x": 16, "y": "10%", "w": "100%-32dp", "h": 40, "right": 8, "bottom": 8,
//                                    numbers are dp; strings are lengths (LayoutUnits); "center"
//                                    centres along the axis; a missing size fills the parent
//     "visible": true, "focusable": false, "style": 0,
//     "margins": [l, t, r, b],       client margins (lengths)
//     "font": {"family": "DejaVu Sans", "size": 12, "bold": false, "italic": false,
//              "uppercase": false},  size in points
//     "text_color": "#000000", "background": "#FFFFFF",
//     "command": 10, "hold_command": 11,
//     "attributes": {"col_count": 5, ...},   read by the class's LoadAttributes
//     "children": [ ... ]
//   }
// Positions are relative to the parent's client area. Unknown classes become plain windows (so
// their children and names still exist) and, like unknown keys and mistyped values, are logged.
class LayoutReader {
 public:
  // Caps that keep a hostile file from building an endless tree.
  static constexpr int kMaxDepth = LayoutManager::kMaxDepth;
  static constexpr int kMaxWindows = LayoutManager::kMaxWindows;

  explicit LayoutReader(const LayoutDocument& document) : document_(document) {}

  // Applies a tree to an existing window: its own fields, then its children as owned windows.
  void LoadInto(const Json::Value& tree, MWWindow* window);

 private:
  Json::Value Resolve(const Json::Value& node, int depth) const;
  // The node itself when it names no prototype (the common case, without copying the tree under
  // it), else its merge with the prototype, kept in storage.
  const Json::Value& ResolveInPlace(const Json::Value& node, Json::Value* storage) const;
  void Apply(const Json::Value& node, MWWindow* window, int depth);
  void ApplyLook(const Json::Value& node, MWWindow* window) const;
  void LoadAttributesOf(const Json::Value& node, MWWindow* window) const;
  void MakeChild(const Json::Value& raw_spec, MWWindow* parent, int depth);
  MWRect Geometry(const Json::Value& node, const MWRect& client) const;
  bool Length(const Json::Value& node, const char* key, const LayoutUnits& units, bool vertical,
              int* pixels) const;
  bool ReadFont(const Json::Value& node, MWFont* font) const;
  void CheckKeys(const Json::Value& node) const;

  const LayoutDocument& document_;
  int windows_made_ = 0;
};

}  // namespace marrowleaf::platform
