#pragma once

#include <map>
#include <memory>
#include <string>

namespace marrowleaf::utilities {

// The device's store of usage events that partner services collect (what the reader did with a
// partner's books). Events wait in a file of the manager's own until the partner's service sends
// them; that file is replaced whole on every change and keeps only the newest kMaxEvents events.
// Each event recorded is also written to the simulator's journal as event "usage".
class UsageStatisticsManager {
 public:
  static constexpr const char* kEventsPath = "/mnt/ext1/system/statistics/usage_events.json";
  static constexpr size_t kMaxEvents = 500;
  // Longest name or value accepted; an event with a longer one is refused.
  static constexpr size_t kMaxTextBytes = 1024;

  virtual ~UsageStatisticsManager() = default;
  // Stores one event of a source (the partner's service) raised by a component of the device.
  // 0 when stored, -1 when refused or it could not be written.
  virtual int recordEvent(const std::string& source, const std::string& event,
                          const std::string& component,
                          const std::map<std::string, std::string>& parameters) = 0;
};

// A manager over the events file of the current device root.
std::shared_ptr<UsageStatisticsManager> createUsageStatisticsManager();

}  // namespace marrowleaf::utilities
