#pragma once

#include <string>

namespace marrowleaf::utilities {

// The device's notification centre: notes other programs (the panel, the notification list) show
// until the user acts on them. The simulator keeps them in "/var/run/notifications.cfg" and writes
// each one added to the journal ("notification"). Event-loop thread only.
class Notifier {
 public:
  struct Notification {
    int id = 0;
    std::string title;    // language key or text
    std::string action;   // the program that acts on the note
    std::string source;   // who posted it (language key)
    std::string text;
    std::string icon;
    int kind = 0;
  };

  // The notification centre, or nullptr when the device has none.
  static Notifier* GetInstance();

  // True when a notification with the same id and title is already posted.
  bool IsAvailable(const Notification& notification) const;
  // Posts a notification; false when it could not be stored.
  bool Add(const Notification& notification);

 private:
  Notifier() = default;
};

}  // namespace marrowleaf::utilities
