#include "support/ScreenReader.h"

#include <fstream>
#include <iterator>
#include <memory>

#include <json/reader.h>

namespace marrowleaf::test {
namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

ScreenReader::ScreenReader(const std::string& host_file) {
  std::ifstream in(host_file);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  Json::Value list;
  std::string errors;
  std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
  if (!reader->parse(text.data(), text.data() + text.size(), &list, &errors) || !list.isArray())
    return;
  for (const Json::Value& entry : list) {
    Window window;
    window.class_name = entry["class"].asString();
    window.name = entry["name"].asString();
    window.path = entry.isMember("path") ? entry["path"].asString() : window.name;
    window.x = entry["x"].asInt();
    window.y = entry["y"].asInt();
    window.w = entry["w"].asInt();
    window.h = entry["h"].asInt();
    window.text = entry["text"].asString();
    window.title = entry["title"].asString();
    window.focused = entry["focused"].asBool();
    window.picture = entry["picture"].asBool();
    windows_.push_back(window);
  }
}

ScreenReader::Window ScreenReader::Find(const std::string& suffix) const {
  for (const Window& window : windows_) {
    if (EndsWith(window.path, suffix))
      return window;
  }
  return Window();
}

bool ScreenReader::Shows(const std::string& suffix) const {
  for (const Window& window : windows_) {
    if (EndsWith(window.path, suffix))
      return true;
  }
  return false;
}

std::string ScreenReader::FocusedPath() const {
  for (const Window& window : windows_) {
    if (window.focused)
      return window.path;
  }
  return "";
}

int ScreenReader::CurrentPage() const {
  const std::string prefix = "DeviceBlockPage";
  for (const Window& window : windows_) {
    if (window.class_name == "DesktopContainer" && window.name.rfind(prefix, 0) == 0)
      return std::stoi(window.name.substr(prefix.size()));
  }
  return 0;
}

}  // namespace marrowleaf::test
