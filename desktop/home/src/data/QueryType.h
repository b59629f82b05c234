#pragma once

namespace marrowleaf::desktop {

// Requests of the data manager's query thread; the type is also the second integer of the
// notification event that follows each query.
enum QueryType : int {
  eQueryNone = 0,
  eQueryBookItems = 1,
  eQueryBooksByTimestamp = 2,
  eQueryNotViewedNotificationsCount = 3,
};

}  // namespace marrowleaf::desktop
