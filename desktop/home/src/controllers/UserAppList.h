#pragma once

namespace marrowleaf::desktop {

// The user's shortcut row as the controller uses it.
class UserAppList {
 public:
  virtual ~UserAppList() = default;
  // Loads the user's shortcut row (the first use creates the list).
  virtual void Load() = 0;
  // Drops the empty entries left by an edit in progress and saves the list.
  virtual void RemoveNullApplications() = 0;
};

}  // namespace marrowleaf::desktop
