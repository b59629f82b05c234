#pragma once

namespace marrowleaf::desktop {

// The home-screen data as the controller uses it: the data manager's requests, results and cache.
class HomeData {
 public:
  virtual ~HomeData() = default;
  virtual void SaveToCache() = 0;
  virtual bool applyBookItems() = 0;
  virtual void applyGroupBooks() = 0;
  // Loads the saved home screen and starts the queries.
  virtual void init() = 0;
  // True with the count when the last notifications query produced one.
  virtual bool getNotViewedNotificationsCount(int& count) = 0;
  virtual void updateStorageIds() = 0;
  virtual void requestBookItems(int slots) = 0;
  virtual void requestNotViewedNotificationsCount() = 0;
};

}  // namespace marrowleaf::desktop
