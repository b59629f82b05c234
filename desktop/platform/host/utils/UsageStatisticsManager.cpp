// The usage-statistics store of the simulator: a JSON array of event objects in kEventsPath,
// oldest first. Each record reads the file as it is now (another program may have sent and removed
// events meanwhile), appends, drops the oldest beyond the cap and replaces the file atomically.
#include "platform/utils/UsageStatisticsManager.h"

#include <json/reader.h>
#include <json/value.h>
#include <json/writer.h>

#include <ctime>
#include <memory>
#include <mutex>

#include "Journal.h"
#include "platform/sdk/files.h"
#include "platform/sdk/log.h"

namespace marrowleaf::utilities {
namespace {

// A full file of kMaxEvents events stays well below this; a larger file is not ours to parse.
constexpr size_t kMaxFileBytes = 1024 * 1024;
constexpr int kMaxNesting = 8;

bool Acceptable(const std::string& text) {
  return !text.empty() && text.size() <= UsageStatisticsManager::kMaxTextBytes;
}

// The events stored now; a missing, oversized or damaged file reads as no events.
Json::Value ReadEvents() {
  std::string text;
  bool truncated = false;
  if (!ReadFileCapped(UsageStatisticsManager::kEventsPath, kMaxFileBytes, &text, &truncated) ||
      truncated) {
    return Json::Value(Json::arrayValue);
  }
  Json::CharReaderBuilder builder;
  builder["stackLimit"] = kMaxNesting;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  Json::Value events;
  std::string error;
  if (!reader->parse(text.data(), text.data() + text.size(), &events, &error) ||
      !events.isArray()) {
    MW_LOG(MW_LOG_WARNING, "usage events file damaged, starting anew: %s", error.c_str());
    return Json::Value(Json::arrayValue);
  }
  return events;
}

class FileUsageStatisticsManager : public UsageStatisticsManager {
 public:
  int recordEvent(const std::string& source, const std::string& event,
                  const std::string& component,
                  const std::map<std::string, std::string>& parameters) override {
    MW_RETURN_IF(!Acceptable(source) || !Acceptable(event) || !Acceptable(component), -1,
                 "refused usage event");
    Json::Value record;
    record["source"] = source;
    record["event"] = event;
    record["component"] = component;
    record["time"] = static_cast<Json::Int64>(std::time(nullptr));
    Json::Value& values = record["parameters"] = Json::Value(Json::objectValue);
    for (const auto& [name, value] : parameters) {
      MW_RETURN_IF(!Acceptable(name) || value.size() > kMaxTextBytes, -1, "refused parameter");
      values[name] = value;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    Json::Value events = ReadEvents();
    events.append(record);
    Json::Value kept(Json::arrayValue);
    const Json::ArrayIndex first =
        events.size() > kMaxEvents ? events.size() - static_cast<Json::ArrayIndex>(kMaxEvents) : 0;
    for (Json::ArrayIndex i = first; i < events.size(); ++i) kept.append(events[i]);
    Json::StreamWriterBuilder writer;
    writer["indentation"] = "";
    pk_buildpath(kEventsPath);
    MW_RETURN_IF(WriteFileAtomically(kEventsPath, Json::writeString(writer, kept) + "\n") != 0, -1,
                 "can't write %s", kEventsPath);
    // The journal line's own "event" is "usage"; the event's name goes under "name".
    Json::Value journaled = record;
    journaled.removeMember("event");
    journaled["name"] = event;
    platform::Journal::Append("usage", journaled);
    return 0;
  }

 private:
  std::mutex mutex_;
};

}  // namespace

std::shared_ptr<UsageStatisticsManager> createUsageStatisticsManager() {
  return std::make_shared<FileUsageStatisticsManager>();
}

}  // namespace marrowleaf::utilities
