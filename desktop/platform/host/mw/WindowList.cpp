#include "WindowList.h"

#include <json/json.h>

#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWBitmapButton.h"
#include "platform/mw/MWLabel.h"
#include "platform/mw/MWWindow.h"
#include "platform/sdk/screen.h"

namespace marrowleaf::platform {
namespace {

void Add(const MWWindow& window, const std::string& parent_path, Json::Value* list) {
  if (!window.IsVisible())
    return;
  const std::string path =
      parent_path.empty() ? window.GetName() : parent_path + "/" + window.GetName();
  const MWRect rect = window.ScreenRect();
  Json::Value entry(Json::objectValue);
  entry["class"] = window.GetClassName();
  entry["name"] = window.GetName();
  entry["path"] = path;
  entry["x"] = rect.x;
  entry["y"] = rect.y;
  entry["w"] = rect.w;
  entry["h"] = rect.h;
  if (window.IsFocused())
    entry["focused"] = true;
  if (window.HasExStyle(MWES_PRESSED))
    entry["pressed"] = true;
  if (const auto* label = dynamic_cast<const MWLabel*>(&window))
    entry["text"] = label->GetText();
  if (const auto* button = dynamic_cast<const MWBitmapButton*>(&window)) {
    entry["text"] = button->GetText();
    entry["picture"] = !button->CurrentBitmap().IsEmpty();
  }
  if (const auto* bitmap = dynamic_cast<const MWBitmap*>(&window))
    entry["picture"] = !bitmap->GetBitmap().IsEmpty();
  list->append(entry);
  for (const MWWindow* child : window.Children()) Add(*child, path, list);
}

}  // namespace

std::string WindowList::Describe(const MWWindow& root) {
  Json::Value list(Json::arrayValue);
  Add(root, "", &list);
  // The panel is no window of the application, but the key focus may rest on it.
  Json::Value panel(Json::objectValue);
  panel["class"] = "Panel";
  panel["name"] = "panel";
  if (IsPanelFocused() != 0)
    panel["focused"] = true;
  list.append(panel);
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  writer["emitUTF8"] = true;
  return Json::writeString(writer, list) + "\n";
}

}  // namespace marrowleaf::platform
