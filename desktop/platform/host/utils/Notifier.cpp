#include "platform/utils/Notifier.h"

#include <string>

#include "Journal.h"
#include "platform/sdk/config.h"

namespace marrowleaf::utilities {
namespace {

constexpr const char* kNotificationsPath = "/var/run/notifications.cfg";

std::string Key(const Notifier::Notification& notification, const char* field) {
  return "notification." + std::to_string(notification.id) + "." + field;
}

}  // namespace

Notifier* Notifier::GetInstance() {
  static auto* notifier = new Notifier();
  return notifier;
}

bool Notifier::IsAvailable(const Notification& notification) const {
  DeviceConfig* config = OpenConfig(kNotificationsPath, nullptr);
  if (config == nullptr)
    return false;
  const char* title = ReadString(config, Key(notification, "title").c_str(), nullptr);
  const bool available = title != nullptr && notification.title == title;
  CloseConfigNoSave(config);
  return available;
}

bool Notifier::Add(const Notification& notification) {
  Json::Value fields(Json::objectValue);
  fields["id"] = notification.id;
  fields["title"] = notification.title;
  fields["action"] = notification.action;
  fields["source"] = notification.source;
  fields["kind"] = notification.kind;
  platform::Journal::Append("notification", std::move(fields));
  DeviceConfig* config = OpenConfig(kNotificationsPath, nullptr);
  if (config == nullptr)
    return false;
  WriteString(config, Key(notification, "title").c_str(), notification.title.c_str());
  WriteString(config, Key(notification, "action").c_str(), notification.action.c_str());
  WriteString(config, Key(notification, "source").c_str(), notification.source.c_str());
  WriteString(config, Key(notification, "text").c_str(), notification.text.c_str());
  WriteString(config, Key(notification, "icon").c_str(), notification.icon.c_str());
  WriteInt(config, Key(notification, "kind").c_str(), notification.kind);
  const bool saved = SaveConfig(config) == 0;
  CloseConfigNoSave(config);
  return saved;
}

}  // namespace marrowleaf::utilities
