#include "WindowList.h"

#include <json/json.h>

#include <algorithm>

#include "DialogLayer.h"
#include "Journal.h"
#include "platform/mw/MWBitmap.h"
#include "platform/mw/MWBitmapButton.h"
#include "platform/mw/MWLabel.h"
#include "platform/mw/MWWindow.h"
#include "platform/sdk/screen.h"

namespace marrowleaf::platform {
namespace {

Json::Value Entry(const std::string& class_name, const std::string& name, const std::string& path,
                  const MWRect& rect) {
  Json::Value entry(Json::objectValue);
  entry["class"] = class_name;
  entry["name"] = name;
  entry["path"] = path;
  entry["x"] = rect.x;
  entry["y"] = rect.y;
  entry["w"] = rect.w;
  entry["h"] = rect.h;
  return entry;
}

// `focus` is false while a dialog holds the keys.
void Add(const MWWindow& window, const std::string& parent_path, bool focus, Json::Value* list) {
  if (!window.IsVisible())
    return;
  const std::string path =
      parent_path.empty() ? window.GetName() : parent_path + "/" + window.GetName();
  Json::Value entry = Entry(window.GetClassName(), window.GetName(), path, window.ScreenRect());
  if (focus && window.IsFocused())
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
  for (const MWWindow* child : window.Children()) Add(*child, path, focus, list);
}

void AddBox(const DialogBox& box, Json::Value* list) {
  const bool dialog = box.kind == DialogBox::Kind::kDialog;
  const std::string name = dialog ? "dialog" : "message";
  Json::Value entry = Entry(dialog ? "Dialog" : "Message", name, name, box.rect);
  entry["icon"] = box.icon;
  entry["title"] = box.title;
  entry["text"] = box.text;
  entry["buttons"] = ToJsonArray(box.buttons);
  list->append(entry);
  for (size_t i = 0; i < box.buttons.size(); ++i) {
    const std::string button = "button" + std::to_string(i + 1);
    const MWRect rect = i < box.button_rects.size() ? box.button_rects[i] : MWRect{};
    Json::Value item = Entry("DialogButton", button, name + "/" + button, rect);
    item["text"] = box.buttons[i];
    if (static_cast<int>(i) == box.focused)
      item["focused"] = true;
    if (static_cast<int>(i) == box.pressed)
      item["pressed"] = true;
    list->append(item);
  }
}

}  // namespace

std::string WindowList::Describe(const MWWindow& root) {
  const std::vector<DialogBox> boxes = DialogLayer::Get().Boxes();
  const bool dialog_open =
      std::any_of(boxes.begin(), boxes.end(),
                  [](const DialogBox& box) { return box.kind == DialogBox::Kind::kDialog; });
  Json::Value list(Json::arrayValue);
  Add(root, "", !dialog_open, &list);
  for (const DialogBox& box : boxes) AddBox(box, &list);
  // The panel is no window of the application, but the key focus may rest on it.
  Json::Value panel(Json::objectValue);
  panel["class"] = "Panel";
  panel["name"] = "panel";
  if (!dialog_open && IsPanelFocused() != 0)
    panel["focused"] = true;
  list.append(panel);
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  writer["emitUTF8"] = true;
  return Json::writeString(writer, list) + "\n";
}

}  // namespace marrowleaf::platform
