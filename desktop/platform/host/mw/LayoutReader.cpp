#include "LayoutReader.h"

#include <cmath>
#include <memory>
#include <set>
#include <string>

#include "platform/mw/AttributeLoader.h"
#include "platform/mw/MWFont.h"
#include "platform/mw/MWWindow.h"
#include "platform/mw/WindowFactory.h"
#include "platform/sdk/log.h"

namespace marrowleaf::platform {
namespace {

const std::set<std::string>& KnownKeys() {
  static const auto* keys = new std::set<std::string>{
      "class",      "name",     "prototype",  "x",          "y",         "w",
      "h",          "right",    "bottom",     "visible",    "focusable", "style",
      "margins",    "font",     "text_color", "background", "command",   "hold_command",
      "attributes", "children", "comment"};
  return *keys;
}

// Attribute values are kept as the text the layout would have written.
bool AttributeText(const Json::Value& value, std::string* text) {
  if (value.isString()) {
    *text = value.asString();
  } else if (value.isBool()) {
    *text = value.asBool() ? "true" : "false";
  } else if (value.isInt64()) {
    *text = std::to_string(value.asInt64());
  } else if (value.isUInt64()) {
    *text = std::to_string(value.asUInt64());
  } else if (value.isDouble()) {
    *text = std::to_string(value.asDouble());
  } else {
    return false;
  }
  return true;
}

std::string StringField(const Json::Value& node, const char* key) {
  const Json::Value& value = node[key];
  return value.isString() ? value.asString() : std::string();
}

void LogWrongType(const Json::Value& node, const char* key, const char* expected) {
  MW_LOG(MW_LOG_WARNING, "layout window \"%s\": \"%s\" is not %s; ignored",
         StringField(node, "name").c_str(), key, expected);
}

}  // namespace

void LayoutReader::CheckKeys(const Json::Value& node) const {
  for (const std::string& key : node.getMemberNames()) {
    if (KnownKeys().count(key) == 0) {
      MW_LOG(MW_LOG_WARNING, "layout %s: window \"%s\" has unknown key \"%s\"",
             document_.Source().c_str(), StringField(node, "name").c_str(), key.c_str());
    }
  }
}

// A window's fields over its prototype's: the window wins, the prototype fills the gaps.
Json::Value LayoutReader::Resolve(const Json::Value& node, int depth) const {
  if (!node.isMember("prototype"))
    return node;
  const Json::Value& name = node["prototype"];
  if (!name.isString()) {
    LogWrongType(node, "prototype", "a name");
    return node;
  }
  MW_RETURN_IF(depth >= kMaxDepth, node, "prototype chain of \"%s\" is too long", name.asCString());
  const Json::Value& prototype = document_.FindPrototype(name.asString());
  if (!prototype.isObject()) {
    MW_LOG(MW_LOG_WARNING, "layout %s: no prototype \"%s\"", document_.Source().c_str(),
           name.asCString());
    return node;
  }
  Json::Value merged = Resolve(prototype, depth + 1);
  for (const std::string& key : node.getMemberNames()) {
    if (key == "prototype")
      continue;
    if (key == "attributes" && merged["attributes"].isObject() && node[key].isObject()) {
      for (const std::string& attribute : node[key].getMemberNames()) {
        merged["attributes"][attribute] = node[key][attribute];
      }
      continue;
    }
    merged[key] = node[key];
  }
  return merged;
}

const Json::Value& LayoutReader::ResolveInPlace(const Json::Value& node,
                                                 Json::Value* storage) const {
  if (!node.isObject() || !node.isMember("prototype"))
    return node;
  *storage = Resolve(node, 0);
  return *storage;
}

bool LayoutReader::Length(const Json::Value& node, const char* key, const LayoutUnits& units,
                          bool vertical, int* pixels) const {
  if (!node.isMember(key))
    return false;
  const Json::Value& value = node[key];
  if (value.isNumeric() && std::isfinite(value.asDouble()) && std::fabs(value.asDouble()) < 1e6) {
    *pixels = units.FromDp(value.asDouble());
    return true;
  }
  if (value.isString() && units.Parse(value.asString(), pixels, vertical))
    return true;
  LogWrongType(node, key, "a length");
  return false;
}

MWRect LayoutReader::Geometry(const Json::Value& node, const MWRect& client) const {
  const LayoutUnits units(client.w, client.h, LayoutUnits::DeviceDpi());
  auto axis = [&](const char* start_key, const char* size_key, const char* end_key, int room,
                  bool vertical, int* start, int* size) {
    int offset = 0;
    int length = 0;
    int end = 0;
    const bool centred = node[start_key].isString() && node[start_key].asString() == "center";
    const bool has_start = !centred && Length(node, start_key, units, vertical, &offset);
    const bool has_size = Length(node, size_key, units, vertical, &length);
    const bool has_end = Length(node, end_key, units, vertical, &end);
    if (!has_size)
      length = room - (has_start ? offset : 0) - (has_end ? end : 0);
    if (centred) {
      offset = (room - length) / 2;
    } else if (!has_start && has_end) {
      offset = room - end - length;
    }
    *start = offset;
    *size = length;
  };
  MWRect rect;
  axis("x", "w", "right", client.w, false, &rect.x, &rect.w);
  axis("y", "h", "bottom", client.h, true, &rect.y, &rect.h);
  rect.x += client.x;
  rect.y += client.y;
  if (rect.w < 0)
    rect.w = 0;
  if (rect.h < 0)
    rect.h = 0;
  return rect;
}

bool LayoutReader::ReadFont(const Json::Value& node, MWFont* font) const {
  const Json::Value& value = node["font"];
  if (!value.isObject()) {
    LogWrongType(node, "font", "an object");
    return false;
  }
  if (value["family"].isString())
    font->family = value["family"].asString();
  if (value["size"].isNumeric() && value["size"].asDouble() >= 1 &&
      value["size"].asDouble() < 500) {
    font->size = static_cast<int>(std::lround(value["size"].asDouble()));
  } else if (value.isMember("size")) {
    LogWrongType(node, "font.size", "a point size");
  }
  if (value["bold"].isBool())
    font->bold = value["bold"].asBool();
  if (value["italic"].isBool())
    font->italic = value["italic"].asBool();
  if (value["uppercase"].isBool() && value["uppercase"].asBool())
    font->flags |= MW_FONT_UPPERCASE;
  return true;
}

void LayoutReader::ApplyLook(const Json::Value& node, MWWindow* window) const {
  if (node.isMember("font")) {
    MWFont font = window->GetWindowFont() != nullptr ? *window->GetWindowFont() : MWFont();
    if (ReadFont(node, &font))
      window->SetWindowFont(font);
  }
  AttributeLoader colours;
  for (const char* key : {"text_color", "background"}) {
    std::string text;
    if (node.isMember(key) && AttributeText(node[key], &text))
      colours.Set(key, text);
  }
  if (colours.Has("text_color"))
    window->SetTextColor(colours.GetColor("text_color", 0));
  if (colours.Has("background"))
    window->SetBackgroundColor(colours.GetColor("background", -1));
  if (node.isMember("margins")) {
    const Json::Value& margins = node["margins"];
    int values[4] = {0, 0, 0, 0};
    const LayoutUnits units(window->Width(), window->Height(), LayoutUnits::DeviceDpi());
    if (margins.isArray() && margins.size() == 4) {
      for (Json::ArrayIndex i = 0; i < 4; ++i) {
        Json::Value holder(Json::objectValue);
        holder["m"] = margins[i];
        Length(holder, "m", units, i % 2 == 1, &values[i]);
      }
      window->SetClientMargins(values[0], values[1], values[2], values[3]);
    } else {
      LogWrongType(node, "margins", "four lengths");
    }
  }
  for (const char* key : {"command", "hold_command"}) {
    if (!node.isMember(key))
      continue;
    if (!node[key].isInt()) {
      LogWrongType(node, key, "a command id");
      continue;
    }
    if (std::string(key) == "command") {
      window->SetCommandID(node[key].asInt());
    } else {
      window->SetHoldCommandID(node[key].asInt());
    }
  }
  if (node["focusable"].isBool() && node["focusable"].asBool()) {
    window->ChangeWindowStyle(MWS_TABSTOP, 0);
  }
}

void LayoutReader::LoadAttributesOf(const Json::Value& node, MWWindow* window) const {
  AttributeLoader loader = window->Attributes();
  loader.SetReferenceSize(window->Width(), window->Height());
  const Json::Value& attributes = node["attributes"];
  if (attributes.isObject()) {
    for (const std::string& name : attributes.getMemberNames()) {
      std::string text;
      if (AttributeText(attributes[name], &text)) {
        loader.Set(name, text);
      } else {
        MW_LOG(MW_LOG_WARNING, "layout window \"%s\": attribute \"%s\" is not a plain value",
               window->GetName().c_str(), name.c_str());
      }
    }
  } else if (node.isMember("attributes")) {
    LogWrongType(node, "attributes", "an object");
  }
  window->LoadAttributes(loader);
}

void LayoutReader::MakeChild(const Json::Value& raw_spec, MWWindow* parent, int depth) {
  if (!raw_spec.isObject()) {
    MW_LOG(MW_LOG_WARNING, "layout %s: a child of \"%s\" is not an object",
           document_.Source().c_str(), parent->GetName().c_str());
    return;
  }
  MW_RETURN_VOID_IF(windows_made_ >= kMaxWindows, "layout %s makes too many windows",
                    document_.Source().c_str());
  Json::Value storage;
  const Json::Value& node = ResolveInPlace(raw_spec, &storage);
  std::string class_name = "MWWindow";
  if (node.isMember("class")) {
    if (node["class"].isString()) {
      class_name = node["class"].asString();
    } else {
      LogWrongType(node, "class", "a class name");
    }
  }
  std::unique_ptr<MWWindow> window = WindowFactory::Create(class_name);
  if (!window) {
    MW_LOG(MW_LOG_WARNING, "layout %s: unknown class \"%s\" for \"%s\"; made a plain window",
           document_.Source().c_str(), class_name.c_str(), StringField(node, "name").c_str());
    window = std::make_unique<MWWindow>();
  }
  ++windows_made_;
  window->SetClassName(class_name);
  window->SetName(StringField(node, "name"));
  if (node.isMember("name") && !node["name"].isString())
    LogWrongType(node, "name", "a text");
  int style = 0;
  if (node["style"].isInt()) {
    style = node["style"].asInt();
  } else if (node.isMember("style")) {
    LogWrongType(node, "style", "a number");
  }
  bool visible = true;
  if (node["visible"].isBool()) {
    visible = node["visible"].asBool();
  } else if (node.isMember("visible")) {
    LogWrongType(node, "visible", "true or false");
  }
  style = visible ? (style | MWS_VISIBLE) : (style & ~MWS_VISIBLE);
  MWWindow* raw = window.get();
  parent->AdoptChild(std::move(window), Geometry(node, parent->GetClientRect()), style, false);
  Apply(node, raw, depth);
  raw->OnCreate();
}

void LayoutReader::Apply(const Json::Value& node, MWWindow* window, int depth) {
  CheckKeys(node);
  ApplyLook(node, window);
  LoadAttributesOf(node, window);
  const Json::Value& children = node["children"];
  if (children.isArray()) {
    if (depth + 1 >= kMaxDepth) {
      MW_LOG(MW_LOG_WARNING, "layout %s nests deeper than %d windows; the rest is skipped",
             document_.Source().c_str(), kMaxDepth);
    } else {
      for (const Json::Value& child : children) MakeChild(child, window, depth + 1);
    }
  } else if (node.isMember("children")) {
    LogWrongType(node, "children", "a list");
  }
  window->OnLayoutLoaded();
}

void LayoutReader::LoadInto(const Json::Value& tree, MWWindow* window) {
  MW_RETURN_VOID_IF(!tree.isObject(), "layout tree for \"%s\" is not an object",
                    window->GetName().c_str());
  Json::Value storage;
  const Json::Value& node = ResolveInPlace(tree, &storage);
  // The root describes the window it is loaded into, which already has its place: only
  // explicit geometry moves it.
  if (node.isMember("w") || node.isMember("h") || node.isMember("x") || node.isMember("y")) {
    const MWWindow* parent = window->GetParent();
    const MWRect client = parent != nullptr ? parent->GetClientRect() : window->GetRect();
    window->SetWindowPos(Geometry(node, client));
  }
  if (window->GetName().empty())
    window->SetName(StringField(node, "name"));
  Apply(node, window, 0);
}

}  // namespace marrowleaf::platform
